// Start-up: Quorvale against a bare QMainWindow with the same menu bar, from process start until
// the X server maps the window, started in turn so that both see the same machine.
//
// The window is seen from outside, as the user's desktop sees it: this program listens on the
// root window for the MapNotify of a new top-level window. Each run gets a fresh private
// XDG_RUNTIME_DIR, so that the single-copy lock of one run never blocks the next (or the
// user's own copy). Peak memory is the child's maximum resident set, as wait4() reports it
// after the child was ended a moment after its first paint.
//
// Usage: quorvale_bench_startup [runs] [program bare-window]

#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

struct Run
{
    double milliseconds = 0;
    double cpuMilliseconds = 0;
    double peakMiB = 0;
};

// The X connection that watches for windows being mapped.
class MapWatcher
{
public:
    MapWatcher()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection)) {
            std::fprintf(stderr, "cannot open the X display (DISPLAY=%s); try xvfb-run\n",
                         std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "");
            std::exit(1);
        }
        const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, screen->root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }
    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    // Throws away what earlier runs left in the queue.
    void drain()
    {
        while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // Waits for a top-level window (not a popup) to be mapped; false after `timeout`.
    bool waitForMap(Clock::duration timeout)
    {
        const Clock::time_point deadline = Clock::now() + timeout;
        pollfd fd{xcb_get_file_descriptor(m_connection), POLLIN, 0};
        while (true) {
            while (xcb_generic_event_t *event = xcb_poll_for_event(m_connection)) {
                const bool mapped =
                    (event->response_type & 0x7F) == XCB_MAP_NOTIFY &&
                    !reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect;
                std::free(event);
                if (mapped)
                    return true;
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0 || poll(&fd, 1, static_cast<int>(left.count())) <= 0)
                return false;
        }
    }

private:
    xcb_connection_t *m_connection = nullptr;
};

// A private runtime directory (mode 0700, as mkdtemp makes it), removed with its lock file.
class RuntimeDirectory
{
public:
    RuntimeDirectory()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvale-bench-XXXXXX");
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        m_path = pattern;
    }
    ~RuntimeDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    RuntimeDirectory(const RuntimeDirectory &) = delete;
    RuntimeDirectory &operator=(const RuntimeDirectory &) = delete;

    const std::string &path() const { return m_path; }

private:
    std::string m_path;
};

// This process's environment with XDG_RUNTIME_DIR replaced.
std::vector<std::string> childEnvironment(const std::string &runtimeDirectory)
{
    std::vector<std::string> variables;
    for (char **v = environ; *v; ++v) {
        if (std::strncmp(*v, "XDG_RUNTIME_DIR=", 16) != 0)
            variables.emplace_back(*v);
    }
    variables.push_back("XDG_RUNTIME_DIR=" + runtimeDirectory);
    return variables;
}

// CPU time used so far by all threads of a running process, from the scheduler's statistics.
double cpuMilliseconds(pid_t pid)
{
    double nanoseconds = 0;
    std::error_code error;
    const std::filesystem::path tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &task : std::filesystem::directory_iterator(tasks, error)) {
        std::ifstream stat(task.path() / "schedstat");
        double onCpu = 0;
        if (stat >> onCpu)
            nanoseconds += onCpu;
    }
    return nanoseconds / 1e6;
}

Run startOnce(MapWatcher &watcher, const char *program)
{
    const RuntimeDirectory runtime;
    std::vector<std::string> variables = childEnvironment(runtime.path());
    std::vector<char *> envp;
    for (std::string &v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    char *argv[] = {const_cast<char *>(program), nullptr};

    watcher.drain();
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, envp.data()) != 0) {
        std::perror(program);
        std::exit(1);
    }
    const bool mapped = watcher.waitForMap(10s);
    const Clock::time_point shown = Clock::now();
    const double cpu = cpuMilliseconds(pid);

    // Let the first paint happen before ending it: its memory is part of start-up.
    std::this_thread::sleep_for(300ms);
    kill(pid, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (!mapped) {
        std::fprintf(stderr, "%s: no window was mapped within 10 s\n", program);
        std::exit(1);
    }
    return {std::chrono::duration<double, std::milli>(shown - start).count(), cpu,
            static_cast<double>(usage.ru_maxrss) / 1024.0};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    const char *program = argc > 3 ? argv[2] : QUORVALE_PROGRAM;
    const char *bare = argc > 3 ? argv[3] : QUORVALE_BARE_WINDOW;

    MapWatcher watcher;
    // One start of each, not counted, fills the file system and font caches.
    startOnce(watcher, program);
    startOnce(watcher, bare);

    std::vector<double> times[2];
    std::vector<double> cpu[2];
    std::vector<double> memory[2];
    for (int i = 0; i < runs; ++i) {
        // ABBA order: neither program always runs right after the other.
        for (const int which : {i % 2, 1 - i % 2}) {
            const Run run = startOnce(watcher, which == 0 ? program : bare);
            times[which].push_back(run.milliseconds);
            cpu[which].push_back(run.cpuMilliseconds);
            memory[which].push_back(run.peakMiB);
        }
    }

    const double time[2] = {median(times[0]), median(times[1])};
    const double used[2] = {median(cpu[0]), median(cpu[1])};
    const double peak[2] = {median(memory[0]), median(memory[1])};
    std::printf("Start-up until the window is mapped, %d runs each, medians\n", runs);
    std::printf("  %-18s %10s %12s %14s\n", "", "time", "CPU time", "peak memory");
    std::printf("  %-18s %7.1f ms %9.1f ms %10.1f MiB\n", "quorvale", time[0], used[0], peak[0]);
    std::printf("  %-18s %7.1f ms %9.1f ms %10.1f MiB\n", "bare QMainWindow", time[1], used[1],
                peak[1]);
    std::printf("  %-18s %8.3f x %10.3f x %12.3f x\n", "ratio", time[0] / time[1],
                used[0] / used[1], peak[0] / peak[1]);
    std::printf("  %-18s %8.2f x %12s %14.2f x  %s\n", "budget", 1.10, "", 1.05,
                time[0] / time[1] <= 1.10 && peak[0] / peak[1] <= 1.05 ? "ok" : "OVER");
    return 0;
}
