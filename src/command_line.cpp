#include "command_line.h"

#include "window_system.h"

#include <QCoreApplication>

namespace quorvale {

CommandLine::CommandLine()
    : m_help({QStringLiteral("h"), QStringLiteral("help")},
             QStringLiteral("Show this help and end.")),
      m_version({QStringLiteral("v"), QStringLiteral("version")},
                QStringLiteral("Show the version and end."))
{
    m_parser.setApplicationDescription(
        QStringLiteral("Converts text to hexadecimal character codes and back, live, as you "
                       "type.\nWithout options it opens its window."));
    // The toolkit's options are single-dash words (-platform, -reverse): read as words, not as
    // runs of one-letter options that could spell -v or -h.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
}

std::optional<int> CommandLine::answer(int &argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    m_parser.parse(arguments); // the toolkit's options count as unknown until QApplication runs
    if (m_parser.isSet(m_version)) {
        showCommandLineText(QCoreApplication::applicationName() + QLatin1Char(' ') +
                                QCoreApplication::applicationVersion() + QLatin1Char('\n'),
                            CommandLineText::Answer);
        return 0;
    }
    if (m_parser.isSet(m_help)) {
        // The usage line names the program as it was started, which takes an application object.
        const QCoreApplication app(argc, argv);
        showCommandLineText(m_parser.helpText(), CommandLineText::Answer);
        return 0;
    }
    return std::nullopt;
}

std::optional<int> CommandLine::rejectUnknown(const QStringList &arguments)
{
    if (m_parser.parse(arguments))
        return std::nullopt;
    showCommandLineText(
        QStringLiteral("quorvale: %1\nTry 'quorvale --help'.\n").arg(m_parser.errorText()),
        CommandLineText::Error);
    return 2;
}

} // namespace quorvale
