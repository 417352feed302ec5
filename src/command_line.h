#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>

namespace quorvale {

// The program's own options, --help and --version; the toolkit's (-platform, -display, -style,
// ...) are read by QApplication.
class CommandLine
{
public:
    CommandLine();

    // Before anything needs a display: answers --help or --version, wherever it stands, and
    // returns the exit status; nullopt when neither was asked for. The toolkit's options are
    // still in argv here, so nothing else is judged yet.
    std::optional<int> answer(int &argc, char *argv[]);

    // Once QApplication has taken its options out of `arguments`: any option left is unknown,
    // reported with the exit status of a usage error, 2. Nullopt when all is well.
    std::optional<int> rejectUnknown(const QStringList &arguments);

private:
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
};

} // namespace quorvale
