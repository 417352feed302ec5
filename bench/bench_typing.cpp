// What a keystroke costs: the release of the key that brings the input pane to n characters,
// handled by the real main window, against one write of the same output text into a plain pane
// of the same kind; and the converters alone, text in and text out.
//
// Times are wall-clock time on the offscreen platform, layout and painting of the new output
// included (the posted events are processed inside the timed part); make bench reports the
// medians of five repetitions.

#include "ascii_to_hex.h"
#include "code_page.h"
#include "frmMain.h"
#include "hex_to_ascii.h"
#include "recording_platform.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <string>
#include <vector>

using namespace quorvale;

namespace {

using Clock = std::chrono::steady_clock;

enum class Direction
{
    AsciiToHex,
    HexToAscii
};

// A sentence in a language of each code page, for the page that its speakers' systems use.
QString prose(int page)
{
    switch (page) {
    case 874:
        return QStringLiteral(u"ภาษาไทยเป็น ");
    case 1250:
        return QStringLiteral(u"Zażółć gęślą jaźń. ");
    case 1251:
        return QStringLiteral(u"Съешь же ещё "
                              u"этих булок. ");
    case 1253:
        return QStringLiteral(u"Ξεσκεπάζω "
                              u"την ψυχή. ");
    case 1254:
        return QStringLiteral(u"Pijamalı hasta yağız şoföre "
                              u"çabucak güvendi. ");
    case 1255:
        return QStringLiteral(u"דג סקרן שט "
                              u"בים. ");
    case 1256:
        return QStringLiteral(u"صِف خَلقَ "
                              u"خَودِ. ");
    case 1257:
        return QStringLiteral(u"Įlinkdama špaga pragręžė "
                              u"arbūžą. ");
    case 1258:
        return QStringLiteral(u"Tiếng Việt có dấu rất đẹp. ");
    default:
        return QStringLiteral("The quick brown fox jumps over the lazy dog. ");
    }
}

std::u16string toU16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

// The first n characters typed into the input pane: prose, or the hex codes of "AAA...". In
// another page than the Western one, n characters of that page (a letter and its tone count
// two), the last a full stop.
QString typedText(Direction direction, int n, int page = codepage::kWestern)
{
    const QString pattern =
        direction == Direction::AsciiToHex ? prose(page) : QStringLiteral("41 ");
    QString text;
    if (page != codepage::kWestern) {
        codepage::use(page);
        while (codepage::length(toU16(text)) < std::size_t(n))
            text += pattern;
        text.truncate(qsizetype(codepage::fittingPrefix(toU16(text), std::size_t(n - 1))));
        while (codepage::length(toU16(text)) < std::size_t(n - 1))
            text += QLatin1Char(' ');
        return text + QLatin1Char('.');
    }
    while (text.size() < n)
        text += pattern;
    text.truncate(n);
    return text;
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

// Runs `work`, then everything it posted (layout, repaint), and returns how long that took.
// Kept out of line, so that callgrind's --toggle-collect='*timed<*' can single it out.
template <typename Work> [[gnu::noinline]] Clock::duration timed(Work &&work)
{
    const Clock::time_point start = Clock::now();
    work();
    QCoreApplication::processEvents();
    return Clock::now() - start;
}

void sendKey(QWidget *pane, QEvent::Type type, int key, const QString &text)
{
    QKeyEvent event(type, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(pane, &event);
}

testing::RecordingPlatform platformWithPage(int page)
{
    testing::RecordingPlatform platform;
    platform.page = page;
    return platform;
}

// The started main window in the given mode and code page, its input pane one character short
// of n.
class Typing
{
public:
    Typing(Direction direction, int n, int page = codepage::kWestern)
        : m_platform(platformWithPage(page)), m_window(m_platform)
    {
        m_window.Form_Load();
        m_window.showCentred();
        if (!QTest::qWaitForWindowExposed(&m_window))
            qFatal("the main window was never exposed");
        m_input = m_window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        m_output = m_window.findChild<QPlainTextEdit *>(QStringLiteral("Text2"));
        if (direction == Direction::HexToAscii) {
            m_window.findChild<QAction *>(QStringLiteral("menuHEXto"))->trigger();
            std::swap(m_input, m_output);
        }
        const QString text = typedText(direction, n, page);
        m_input->setFocus();
        m_input->setPlainText(text.chopped(1));
        m_input->moveCursor(QTextCursor::End);
        m_last = text.back();
        const QChar upper = m_last.toUpper();
        m_lastKey = upper.isLetterOrNumber()     ? int(upper.unicode())
                    : m_last == QLatin1Char(' ') ? int(Qt::Key_Space)
                                                 : int(Qt::Key_Period);
        // One keystroke back and forth leaves both panes as they are between iterations.
        pressLast();
        releaseLast();
        m_typedOutput = m_output->toPlainText();
        backspace();
        m_previousOutput = m_output->toPlainText();
    }

    void pressLast()
    {
        sendKey(m_input, QEvent::KeyPress, m_lastKey, m_last);
        QCoreApplication::processEvents();
    }
    Clock::duration releaseLast()
    {
        return timed([this] { sendKey(m_input, QEvent::KeyRelease, m_lastKey, m_last); });
    }
    void backspace()
    {
        sendKey(m_input, QEvent::KeyPress, Qt::Key_Backspace, QStringLiteral("\b"));
        sendKey(m_input, QEvent::KeyRelease, Qt::Key_Backspace, QStringLiteral("\b"));
        QCoreApplication::processEvents();
    }

    const QPlainTextEdit &output() const { return *m_output; }
    QString typedOutput() const { return m_typedOutput; }
    QString previousOutput() const { return m_previousOutput; }

private:
    testing::RecordingPlatform m_platform;
    frmMain m_window;
    QPlainTextEdit *m_input = nullptr;
    QPlainTextEdit *m_output = nullptr;
    QChar m_last;
    int m_lastKey = 0;
    QString m_typedOutput;
    QString m_previousOutput;
};

// A plain QPlainTextEdit dressed like the output pane: the floor for writing its text.
class PlainPane
{
public:
    explicit PlainPane(const QPlainTextEdit &like)
    {
        m_edit.setFont(like.font());
        m_edit.setPalette(like.palette());
        m_edit.setVerticalScrollBarPolicy(like.verticalScrollBarPolicy());
        m_edit.setHorizontalScrollBarPolicy(like.horizontalScrollBarPolicy());
        m_edit.resize(like.size());
        m_edit.show();
        if (!QTest::qWaitForWindowExposed(&m_edit))
            qFatal("the plain pane was never exposed");
    }

    Clock::duration write(const QString &text)
    {
        return timed([&] { m_edit.setPlainText(text); });
    }

private:
    QPlainTextEdit m_edit;
};

// Input lengths: one character, a sentence, and the longest text that still converts.
void typingSizes(benchmark::internal::Benchmark *family)
{
    family->Arg(1)->Arg(100)->Arg(299)->Unit(benchmark::kMicrosecond);
}

void measureRelease(benchmark::State &state, Direction direction, int page)
{
    Typing typing(direction, static_cast<int>(state.range(0)), page);
    PlainPane plain(typing.output());
    const QString before = typing.previousOutput();
    const QString after = typing.typedOutput();

    // Each iteration times the release and, right after it on the same machine state, one
    // write of its output: their ratio does not drift with the load of the machine.
    double releases = 0;
    double writes = 0;
    for (auto _ : state) {
        typing.pressLast();
        const double release = seconds(typing.releaseLast());
        typing.backspace();
        plain.write(before);
        const double write = seconds(plain.write(after));
        state.SetIterationTime(release);
        releases += release;
        writes += write;
    }
    state.counters["write_us"] =
        benchmark::Counter(writes * 1e6, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = writes > 0 ? releases / writes : 0;
}
void keyRelease(benchmark::State &state, Direction direction)
{
    measureRelease(state, direction, codepage::kWestern);
}
BENCHMARK_CAPTURE(keyRelease, ascii_to_hex, Direction::AsciiToHex)
    ->Apply(typingSizes)
    ->UseManualTime();
BENCHMARK_CAPTURE(keyRelease, hex_to_ascii, Direction::HexToAscii)
    ->Apply(typingSizes)
    ->UseManualTime();
// The longest text that converts, in the language of each code page.
void everyPage(benchmark::internal::Benchmark *family)
{
    for (const int page : codepage::kPages)
        family->Args({299, page});
    family->Unit(benchmark::kMicrosecond);
}
void keyReleaseInPage(benchmark::State &state)
{
    measureRelease(state, Direction::AsciiToHex, static_cast<int>(state.range(1)));
}
BENCHMARK(keyReleaseInPage)->Apply(everyPage)->UseManualTime();

void convertAsciiToHex(benchmark::State &state)
{
    const std::u16string text = toU16(typedText(Direction::AsciiToHex, int(state.range(0))));
    for (auto _ : state) {
        std::u16string hex = asciiToHex(text);
        benchmark::DoNotOptimize(hex);
    }
}
BENCHMARK(convertAsciiToHex)->Apply(typingSizes);

void convertHexToAscii(benchmark::State &state)
{
    const std::u16string text = toU16(typedText(Direction::HexToAscii, int(state.range(0))));
    for (auto _ : state) {
        Decoding decoding = hexToAscii(text);
        benchmark::DoNotOptimize(decoding);
    }
}
BENCHMARK(convertHexToAscii)->Apply(typingSizes);

// The console output, followed by the figures that have budgets, each against its budget.
class BudgetReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            // Medians where there are repetitions, the single run otherwise.
            const bool aggregate = run.run_type == Run::RT_Aggregate;
            if (run.error_occurred || (aggregate && run.aggregate_name != "median"))
                continue;
            const std::string name = run.run_name.function_name + "/" + run.run_name.args;
            if (aggregate || !m_figures.count(name))
                m_figures[name] = run;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::ostream &out = GetOutputStream();
        out << "\nBudgets at 299 characters\n";
        for (const char *direction : {"ascii_to_hex", "hex_to_ascii"}) {
            if (const Run *run = find(std::string("keyRelease/") + direction + "/299"))
                line(out, std::string("key release / write, ") + direction,
                     run->counters.at("ratio").value, 1.25, " x");
        }
        for (const int page : codepage::kPages) {
            if (const Run *run = find("keyReleaseInPage/299/" + std::to_string(page)))
                line(out, "key release / write, page " + std::to_string(page),
                     run->counters.at("ratio").value, 1.25, " x");
        }
        for (const char *name : {"convertAsciiToHex", "convertHexToAscii"}) {
            if (const Run *run = find(std::string(name) + "/299"))
                line(out, name, run->GetAdjustedRealTime(), 5.0, " us");
        }
    }

private:
    const Run *find(const std::string &name) const
    {
        const auto it = m_figures.find(name);
        return it == m_figures.end() ? nullptr : &it->second;
    }

    static void line(std::ostream &out, const std::string &what, double figure, double budget,
                     const char *unit)
    {
        char text[160];
        std::snprintf(text, sizeof text, "  %-36s %8.3f%s  (budget %.2f%s)  %s\n", what.c_str(),
                      figure, unit, budget, unit, figure <= budget ? "ok" : "OVER");
        out << text;
    }

    std::map<std::string, Run> m_figures;
};

} // namespace

int main(int argc, char **argv)
{
    // The budget summary reads the console's runs; JSON goes out as Google Benchmark writes it.
    bool console = true;
    for (int i = 1; i < argc; ++i)
        console = console && (std::strncmp(argv[i], "--benchmark_format=", 19) != 0 ||
                              std::strcmp(argv[i] + 19, "console") == 0);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    if (console) {
        BudgetReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
    } else {
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
