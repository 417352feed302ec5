// The installed tree as a desktop and a package see it: `cmake --install` into a temporary
// prefix, then the menu entry, the metainfo, the manual page and the theme icons, with the
// validators if present.

#include "emulation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString kSourceDir = QStringLiteral(QUORVALE_SOURCE_DIR);
const QString kBinaryDir = QStringLiteral(QUORVALE_BINARY_DIR);
const QString kDesktopId = QStringLiteral(QUORVALE_DESKTOP_ID);
const QString kAppStreamId = QStringLiteral(QUORVALE_APPSTREAM_ID);

struct Run
{
    int exitCode = -1;
    QString output;
};

Run run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

QString readText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The keys of the [Desktop Entry] group; localised keys are not used here.
QMap<QString, QString> desktopEntry(const QString &path)
{
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QString &line : readText(path).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1String("[Desktop Entry]");
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (inGroup && eq > 0)
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

struct MetaInfo
{
    QString id;
    QString launchable;
    QStringList releases;
    QStringList screenshots;
};

MetaInfo metaInfo(const QString &path)
{
    MetaInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("id"))
            info.id = xml.readElementText();
        else if (name == QLatin1String("launchable"))
            info.launchable = xml.readElementText();
        else if (name == QLatin1String("release"))
            info.releases << xml.attributes().value(QLatin1String("version")).toString();
        else if (name == QLatin1String("image"))
            info.screenshots << xml.readElementText();
    }
    return info;
}

QString iconPath(const QString &prefix, int size)
{
    return QStringLiteral("%1/share/icons/hicolor/%2x%2/apps/%3.png")
        .arg(prefix)
        .arg(size)
        .arg(kDesktopId);
}

} // namespace

class TestInstall : public QObject
{
    Q_OBJECT

    QTemporaryDir m_prefix;
    QString m_desktopFile;
    QString m_metaInfoFile;

    enum class Output
    {
        Any,
        None
    };

    void validate(const char *validator, const QStringList &arguments, Output output = Output::Any)
    {
        const QString program = QStandardPaths::findExecutable(QLatin1String(validator));
        if (program.isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed").arg(QLatin1String(validator))));
        const Run result = run(program, arguments);
        QVERIFY2(result.exitCode == 0, qPrintable(result.output));
        if (output == Output::None)
            QVERIFY2(result.output.isEmpty(), qPrintable(result.output));
    }

private slots:
    void initTestCase()
    {
        QUORVALE_SKIP_UNDER_EMULATOR(); // cmake --install, then the validators
        QVERIFY(m_prefix.isValid());
        const Run install =
            run(QStringLiteral("cmake"), {QStringLiteral("--install"), kBinaryDir,
                                          QStringLiteral("--prefix"), m_prefix.path()});
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
        m_desktopFile =
            m_prefix.filePath(QStringLiteral("share/applications/%1.desktop").arg(kDesktopId));
        m_metaInfoFile =
            m_prefix.filePath(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppStreamId));
    }

    void programIsInstalled()
    {
        const QFileInfo program(m_prefix.filePath(QStringLiteral("bin/quorvale")));
        QVERIFY(program.isFile());
        QVERIFY(program.isExecutable());
    }

    // The menu starts the installed program, shows the theme icon, and docks find the window by
    // the class the program gives it (see window_class_check.sh).
    void desktopEntryPointsAtInstalledFiles()
    {
        QVERIFY(QFileInfo::exists(m_desktopFile));
        const auto keys = desktopEntry(m_desktopFile);
        QCOMPARE(keys.value(QStringLiteral("Type")), QStringLiteral("Application"));
        const QString exec = keys.value(QStringLiteral("Exec")).section(QLatin1Char(' '), 0, 0);
        QVERIFY2(!exec.contains(QLatin1Char('/')), "the menu must find the program on PATH");
        QVERIFY(QFileInfo(m_prefix.filePath(QStringLiteral("bin/") + exec)).isExecutable());
        QCOMPARE(keys.value(QStringLiteral("Icon")), kDesktopId);
        QCOMPARE(keys.value(QStringLiteral("StartupWMClass")).toLower(), kDesktopId);
    }

    void desktopEntryValidates() { validate("desktop-file-validate", {m_desktopFile}); }

    void metaInfoDescribesThisRelease()
    {
        const MetaInfo info = metaInfo(m_metaInfoFile);
        QCOMPARE(info.id, kAppStreamId);
        QCOMPARE(info.launchable, kDesktopId + QStringLiteral(".desktop"));
        QVERIFY(!info.releases.isEmpty());
        QCOMPARE(info.releases.first(), QStringLiteral(QUORVALE_VERSION));
        QVERIFY(!info.screenshots.isEmpty());
    }

    void metaInfoValidates()
    {
        validate("appstreamcli",
                 {QStringLiteral("validate"), QStringLiteral("--no-net"), m_metaInfoFile});
        // The tree check also finds the launchable's desktop entry beside the metainfo.
        validate("appstreamcli",
                 {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), m_prefix.path()});
    }

    // The package's version is the program's, as the About dialog shows it.
    void debianChangelogIsThisRelease()
    {
        const QString top = readText(kSourceDir + QStringLiteral("/debian/changelog"))
                                .section(QLatin1Char('\n'), 0, 0);
        QCOMPARE(top.section(QLatin1Char('('), 1).section(QLatin1Char(')'), 0, 0),
                 QStringLiteral(QUORVALE_VERSION));
    }

    // With -z groff prints nothing but its warnings, all of them with -ww.
    void manualPageFormatsCleanly()
    {
        const QString page = m_prefix.filePath(QStringLiteral("share/man/man1/quorvale.1"));
        QVERIFY(QFileInfo::exists(page));
        validate("groff",
                 {QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
                  QStringLiteral("-z"), page},
                 Output::None);
    }

    // Each screenshot address ends in a file that the docs/ folder serves, as the README does.
    void screenshotsExist()
    {
        QStringList pictures;
        for (const QString &url : metaInfo(m_metaInfoFile).screenshots)
            pictures << QStringLiteral("docs/") + url.section(QLatin1Char('/'), -1);
        QVERIFY(!pictures.isEmpty());
        const QString readme = readText(kSourceDir + QStringLiteral("/README.md"));
        const QRegularExpression image(QStringLiteral(R"(!\[[^\]]*\]\(([^)\s]+)\))"));
        QSet<QString> shown;
        for (const auto &match : image.globalMatch(readme))
            shown << match.captured(1);
        for (const QString &picture : std::as_const(pictures)) {
            QVERIFY2(shown.contains(picture),
                     qPrintable(picture + QStringLiteral(" not in README.md")));
            const QImage shot(kSourceDir + QLatin1Char('/') + picture);
            QVERIFY2(!shot.isNull(), qPrintable(picture));
            QVERIFY(shot.width() > 200 && shot.height() > 100);
        }
    }

    void themeIcon_data()
    {
        QTest::addColumn<int>("size");
        for (const QString &size : QStringLiteral(QUORVALE_ICON_SIZES).split(QLatin1Char(' ')))
            QTest::addRow("%spx", qPrintable(size)) << size.toInt();
    }

    void themeIcon()
    {
        QFETCH(int, size);
        const QImage icon(iconPath(m_prefix.path(), size), "PNG");
        QVERIFY(!icon.isNull());
        QCOMPARE(icon.size(), QSize(size, size));
        // A raised Q on a transparent ground: the top corners clear, something drawn.
        QCOMPARE(qAlpha(icon.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(icon.pixel(size - 1, 0)), 0);
        bool drawn = false;
        for (int y = 0; y < size && !drawn; ++y)
            for (int x = 0; x < size && !drawn; ++x)
                drawn = qAlpha(icon.pixel(x, y)) == 255;
        QVERIFY(drawn);
    }

    // The 32-pixel icon is the hand-drawn one, not a resampling: same pixels, 16 colours at most.
    void smallIconKeepsItsPixels()
    {
        const QImage installed =
            QImage(iconPath(m_prefix.path(), 32), "PNG").convertToFormat(QImage::Format_ARGB32);
        const QImage drawn = QImage(kSourceDir + QStringLiteral("/resources/quorvale.xpm"), "XPM")
                                 .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(installed, drawn);
        QSet<QRgb> colours;
        for (int y = 0; y < installed.height(); ++y)
            for (int x = 0; x < installed.width(); ++x)
                colours << installed.pixel(x, y);
        QVERIFY2(colours.size() <= 16, qPrintable(QString::number(colours.size())));
    }

    void scalableIconIsTheMaster()
    {
        const QString installed = m_prefix.filePath(
            QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(kDesktopId));
        QCOMPARE(readText(installed),
                 readText(kSourceDir + QStringLiteral("/resources/quorvale.svg")));
    }
};

QTEST_MAIN(TestInstall)
#include "test_install.moc"
