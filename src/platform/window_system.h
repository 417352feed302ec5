#pragma once

class QString;

namespace quorvale {

// Why the program cannot open its window at all, as one line for standard error; null when it
// can, or when Qt is left to judge (a platform was asked for by QT_QPA_PLATFORM or -platform).
// Linux needs a display server named in the environment; Windows always has its window system.
const char *missingWindowSystem(int argc, char *argv[]);

enum class CommandLineText
{
    Answer, // what an option asked for: the help, the version
    Error
};

// Shows text about the command line where the user reads it: standard output for an answer,
// standard error for an error. A Windows program without a console has neither, so there a
// message box shows it, unless the output is redirected (as QCommandLineParser does).
void showCommandLineText(const QString &text, CommandLineText kind);

// The default font size, in points, of a standard desktop of this platform: the size that the
// fixed layouts were drawn for. A larger default font grows them in proportion.
double standardFontPointSize();

// The single-byte Windows code page of the user's language (codepage::kPages): on Windows the
// system's ANSI code page, elsewhere the page that Windows gives the language of the locale of
// character handling (LC_ALL, else LC_CTYPE, else LANG). Windows-1252 where that page is not
// single-byte.
int systemCodePage();

} // namespace quorvale
