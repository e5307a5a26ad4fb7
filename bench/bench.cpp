// SPDX-License-Identifier: GPL-3.0-or-later
// velitar_bench: how fast Velitar starts, opens a test window and answers,
// next to what Qt itself needs for the same.
//
//   velitar_bench [--runs N] [--program PATH] [--instructions]
//
// In four settings a user meets (offscreen; Xvfb without a session bus; Xvfb
// with one; Xvfb with the accessibility bridge on: a session bus, the AT-SPI
// bus and QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1), N pairs each (default 31),
// every pair run in turn with the other settings' pairs and in alternating
// order within the pair:
//   - start: velitar_first_paint (the program with the first-paint hook)
//     against bare_window (a window of the start window's size with a
//     one-word label): from exec to the window mapped, as a window manager
//     sees it (the X server's MapNotify, read on the root window), and to the
//     first painted window; and the peak resident set size;
//   - opening a test window: velitar_bench_run (variants 1..5 in turn)
//     against the same run with --floor, where plain Qt code builds the same
//     controls: until created and until painted; and one answer.
// Prints the medians, the median of the pairs' ratios, and every target
// with "met" or "MISSED". --program measures another build of the program
// (with the same hook) in place of velitar_first_paint. --instructions also
// runs each program once per setting under callgrind and compares the
// instructions executed, which the machine's load does not move: until the
// window is mapped and until its first paint, and the test window's opening
// until painted.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

long long now()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Environment {
    std::map<std::string, std::string> vars;

    static Environment inherited()
    {
        Environment e;
        for (char** v = environ; *v; ++v) {
            const std::string entry(*v);
            const auto eq = entry.find('=');
            if (eq != std::string::npos)
                e.vars[entry.substr(0, eq)] = entry.substr(eq + 1);
        }
        return e;
    }
    std::vector<std::string> entries() const
    {
        std::vector<std::string> out;
        for (const auto& [k, v] : vars)
            out.push_back(k + '=' + v);
        return out;
    }
};

struct Child {
    pid_t pid = -1;
    int out = -1; // read end of the child's stdout, or of its fd 3
};

// Starts a program; its stdout (or, with onFd3, its file descriptor 3) comes
// back through a pipe.
Child spawn(const std::vector<std::string>& argv, const Environment& env, bool onFd3 = false)
{
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The descriptors are close-on-exec; only the copy made here survives
    // (from a descriptor above 9, so that it is never the target itself).
    const int writeEnd = fcntl(pipeFds[1], F_DUPFD_CLOEXEC, 10);
    close(pipeFds[1]);
    pipeFds[1] = writeEnd;
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], onFd3 ? 3 : STDOUT_FILENO);
    if (onFd3)
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const std::vector<std::string> entries = env.entries();
    std::vector<char*> envp;
    for (const std::string& e : entries)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    Child child;
    if (posix_spawnp(&child.pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) {
        std::fprintf(stderr, "velitar_bench: cannot start %s\n", args[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    child.out = pipeFds[0];
    return child;
}

std::string readLine(int fd)
{
    std::string line;
    char c;
    while (read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

std::string readAll(int fd)
{
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// Reads the X server's events as a window manager does: every window made
// and mapped on the root window. The program's window is the first mapped
// top-level window made after its exec (nothing else runs on this server).
class MapWatcher {
public:
    explicit MapWatcher(const std::string& display)
    {
        connection_ = xcb_connect(display.c_str(), nullptr);
        if (xcb_connection_has_error(connection_)) {
            xcb_disconnect(connection_);
            connection_ = nullptr;
            return;
        }
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_void_cookie_t cookie = xcb_change_window_attributes_checked(connection_, root, XCB_CW_EVENT_MASK, &mask);
        if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
            std::free(error);
            xcb_disconnect(connection_);
            connection_ = nullptr;
        }
    }
    ~MapWatcher()
    {
        if (connection_)
            xcb_disconnect(connection_);
    }
    MapWatcher(const MapWatcher&) = delete;
    MapWatcher& operator=(const MapWatcher&) = delete;

    bool ok() const { return connection_ != nullptr; }
    int fd() const { return xcb_get_file_descriptor(connection_); }

    // Before a run: forget the windows seen so far.
    void reset()
    {
        drain();
        made_.clear();
        mapped_ = 0;
    }
    // Reads what has arrived; the moment the program's window is first seen
    // mapped is kept.
    void drain()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
            const long long at = now();
            switch (event->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event);
                if (!e->override_redirect)
                    made_.push_back(e->window);
                break;
            }
            case XCB_MAP_NOTIFY: {
                auto* e = reinterpret_cast<xcb_map_notify_event_t*>(event);
                if (!mapped_ && !e->override_redirect &&
                    std::find(made_.begin(), made_.end(), e->window) != made_.end())
                    mapped_ = at;
                break;
            }
            default:
                break;
            }
            std::free(event);
        }
    }
    long long mapped() const { return mapped_; }

private:
    xcb_connection_t* connection_ = nullptr;
    std::vector<xcb_window_t> made_;
    long long mapped_ = 0;
};

struct Run {
    bool ok = false;
    std::string output;
    double mappedMs = 0; // exec to the window mapped (X only)
    double paintMs = 0;  // exec to the printed first-paint moment
    double peakMiB = 0;
};

Run measure(const std::vector<std::string>& argv, const Environment& env, MapWatcher* watcher = nullptr)
{
    Run run;
    if (watcher)
        watcher->reset();
    const long long started = now();
    Child child = spawn(argv, env);
    // The child's output and the X server's events, as they come.
    bool open = true;
    while (open) {
        pollfd fds[2] = {{child.out, POLLIN, 0}, {watcher ? watcher->fd() : -1, POLLIN, 0}};
        if (poll(fds, watcher ? 2 : 1, -1) < 0 && errno != EINTR)
            break;
        if (watcher)
            watcher->drain();
        if (fds[0].revents) {
            char buffer[4096];
            const ssize_t n = read(child.out, buffer, sizeof buffer);
            if (n > 0)
                run.output.append(buffer, static_cast<std::size_t>(n));
            else
                open = false;
        }
    }
    close(child.out);
    int status = 0;
    rusage usage{};
    wait4(child.pid, &status, 0, &usage);
    if (watcher) {
        watcher->drain();
        if (watcher->mapped())
            run.mappedMs = static_cast<double>(watcher->mapped() - started) / 1e6;
    }
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    long long painted = 0;
    if (std::sscanf(run.output.c_str(), "first-paint %lld", &painted) == 1)
        run.paintMs = static_cast<double>(painted - started) / 1e6;
    return run;
}

void stopProcess(pid_t pid)
{
    // The accessibility bus launcher runs the bus daemon as its child.
    std::ifstream children("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    std::vector<pid_t> kids;
    for (pid_t kid; children >> kid;)
        kids.push_back(kid);
    kill(pid, SIGTERM);
    for (pid_t kid : kids)
        kill(kid, SIGTERM);
    waitpid(pid, nullptr, 0);
}

// A session bus of its own; its address, or empty.
std::string startBus(const Environment& base, std::vector<pid_t>& helpers)
{
    Child bus = spawn({"dbus-daemon", "--session", "--nofork", "--nosyslog", "--print-address=3"}, base, true);
    const std::string address = readLine(bus.out);
    close(bus.out);
    helpers.push_back(bus.pid);
    return address;
}

bool succeeds(const std::vector<std::string>& argv, const Environment& env)
{
    Child child = spawn(argv, env);
    readAll(child.out);
    close(child.out);
    int status = 0;
    waitpid(child.pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

struct Setting {
    std::string name;
    Environment env;
    bool x = false;
    bool bridge = false; // the accessibility bridge is to be on
};

struct Pairs {
    std::vector<double> program, other, ratio;
    void add(double p, double o)
    {
        program.push_back(p);
        other.push_back(o);
        ratio.push_back(p / o);
    }
};

struct Results {
    Pairs mapped, painted, rss, opened, openPainted;
    std::vector<double> answers, answersPainted;
    int failures = 0;
    int bridgeWrong = 0; // runs whose accessibility bridge was not as the setting says
};

struct Probe {
    std::vector<double> values; // open, painted, then answer pairs; empty when the run failed
    bool bridge = false;        // the accessibility bridge was on
};

Probe readProbe(const Run& run)
{
    std::istringstream in(run.output);
    std::string word;
    long long a = 0, b = 0;
    Probe probe;
    if (!run.ok || !(in >> word >> a >> b >> word) || word != "answers")
        return probe;
    std::vector<double> values = {a / 1e6, b / 1e6};
    while (in >> a >> b) {
        values.push_back(a / 1e6);
        values.push_back(b / 1e6);
    }
    in.clear();
    int bridge = 0;
    if (!(in >> word >> bridge) || word != "bridge")
        return probe;
    probe.values = values;
    probe.bridge = bridge == 1;
    return probe;
}

struct Target {
    std::string what;
    bool met;
};

std::string machine()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line, model = "?";
    while (std::getline(cpuinfo, line))
        if (line.rfind("model name", 0) == 0) {
            model = line.substr(line.find(':') + 2);
            break;
        }
    std::ifstream load("/proc/loadavg");
    std::string l1, l5;
    load >> l1 >> l5;
    return std::to_string(sysconf(_SC_NPROCESSORS_ONLN)) + " cores (nproc), " + model + ", load average " + l1 + " / " +
           l5;
}

// Instructions executed by one run under callgrind, split where the named
// functions are entered: the totals of the parts in order, the last one
// running to the end of the process. Empty if the run failed.
std::vector<double> instructions(const std::vector<std::string>& argv, const Environment& env,
                                 const std::vector<std::string>& splits, const std::string& dir)
{
    std::vector<std::string> command = {"valgrind", "--tool=callgrind", "--callgrind-out-file=" + dir + "/cg.%p"};
    for (const std::string& f : splits)
        command.push_back("--dump-before=" + f);
    command.insert(command.end(), argv.begin(), argv.end());
    Child child = spawn(command, env);
    readAll(child.out);
    close(child.out);
    int status = 0;
    waitpid(child.pid, &status, 0);
    std::vector<double> parts;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return parts;
    const std::string base = dir + "/cg." + std::to_string(child.pid);
    for (std::size_t n = 1; n <= splits.size() + 1; ++n) {
        const std::string file = n <= splits.size() ? base + '.' + std::to_string(n) : base;
        std::ifstream in(file);
        std::string line;
        double total = -1;
        while (std::getline(in, line))
            if (line.rfind("totals:", 0) == 0)
                total = std::atof(line.c_str() + 7);
        if (total < 0)
            return {};
        parts.push_back(total / 1e6);
    }
    return parts;
}

std::string millions(double a, double b)
{
    char text[96];
    std::snprintf(text, sizeof text, "velitar %6.2f M, other %6.2f M, ratio %.3f", a, b, b > 0 ? a / b : 0);
    return text;
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 31;
    bool counting = false;
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    std::string program = (here / "velitar_first_paint").string();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--program" && i + 1 < argc)
            program = fs::absolute(argv[++i]).string();
        else if (a == "--instructions")
            counting = true;
        else {
            std::fprintf(stderr, "usage: velitar_bench [--runs N] [--program PATH] [--instructions]\n");
            return 2;
        }
    }
    const std::string bare = (here / "bare_window").string();
    const std::string probe = (here / "velitar_bench_run").string();

    Environment base = Environment::inherited();
    char runtime[] = "/tmp/velitar-bench-XXXXXX";
    if (!mkdtemp(runtime)) {
        std::perror("mkdtemp");
        return 1;
    }
    base.vars["XDG_RUNTIME_DIR"] = runtime;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                             "AT_SPI_BUS_ADDRESS", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_ACCESSIBILITY"})
        base.vars.erase(name);

    std::vector<pid_t> helpers;
    auto finish = [&](int status) {
        for (auto it = helpers.rbegin(); it != helpers.rend(); ++it)
            stopProcess(*it);
        fs::remove_all(runtime);
        return status;
    };

    // One X server for the X settings.
    Child server = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, base, true);
    const std::string display = readLine(server.out);
    close(server.out);
    helpers.push_back(server.pid);
    if (display.empty()) {
        std::fprintf(stderr, "velitar_bench: Xvfb did not start\n");
        return finish(1);
    }
    MapWatcher watcher(':' + display);
    if (!watcher.ok()) {
        std::fprintf(stderr, "velitar_bench: cannot read the X server's events\n");
        return finish(1);
    }

    std::vector<Setting> settings;
    settings.push_back({"offscreen", base, false});
    settings.back().env.vars["QT_QPA_PLATFORM"] = "offscreen";
    Environment x = base;
    x.vars["QT_QPA_PLATFORM"] = "xcb";
    x.vars["DISPLAY"] = ':' + display;
    settings.push_back({"Xvfb, no session bus", x, true});
    settings.push_back({"Xvfb, session bus", x, true});
    settings.back().env.vars["DBUS_SESSION_BUS_ADDRESS"] = startBus(base, helpers);
    // The accessibility bridge on: a session bus that announces the AT-SPI
    // bus, and Qt told to use it.
    Setting bridge{"Xvfb, accessibility bridge on", x, true, true};
    bridge.env.vars["DBUS_SESSION_BUS_ADDRESS"] = startBus(base, helpers);
    {
        // Without DISPLAY, so that the launcher does not announce the bus on
        // the X server too, where the other settings' programs would find it.
        Environment launcherEnv = bridge.env;
        launcherEnv.vars.erase("DISPLAY");
        Child launcher = spawn({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"}, launcherEnv);
        close(launcher.out);
        helpers.push_back(launcher.pid);
        bool up = false;
        for (int i = 0; i < 200 && !up; ++i) {
            up = succeeds({"dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus", "/org/a11y/bus",
                           "org.a11y.Bus.GetAddress"},
                          bridge.env);
            if (!up)
                usleep(50000);
        }
        if (!up) {
            std::fprintf(stderr, "velitar_bench: the accessibility bus did not start\n");
            return finish(1);
        }
    }
    bridge.env.vars["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1";
    settings.push_back(bridge);

    std::printf("velitar_bench: %s against %s, %d pairs per setting\n", program.c_str(), bare.c_str(), runs);
    std::printf("machine: %s\n", machine().c_str());
    std::fflush(stdout);

    // One run of each first, not counted: the file caches are warm for all,
    // and the accessibility registry has been started.
    for (const Setting& s : settings) {
        MapWatcher* w = s.x ? &watcher : nullptr;
        measure({program}, s.env, w);
        measure({bare}, s.env, w);
        measure({probe, "1"}, s.env, w);
        measure({probe, "1", "--floor"}, s.env, w);
    }

    std::vector<Results> results(settings.size());
    for (int i = 0; i < runs; ++i) {
        for (std::size_t n = 0; n < settings.size(); ++n) {
            const Setting& s = settings[n];
            Results& r = results[n];
            MapWatcher* w = s.x ? &watcher : nullptr;
            // Alternate which goes first, so that none always finds the
            // caches warmed by the other.
            const bool programFirst = (i + static_cast<int>(n)) % 2 == 0;
            Run p, b;
            if (programFirst) {
                p = measure({program}, s.env, w);
                b = measure({bare}, s.env, w);
            } else {
                b = measure({bare}, s.env, w);
                p = measure({program}, s.env, w);
            }
            if (!p.ok || !b.ok || p.paintMs <= 0 || b.paintMs <= 0 || (s.x && (p.mappedMs <= 0 || b.mappedMs <= 0))) {
                ++r.failures;
            } else {
                r.painted.add(p.paintMs, b.paintMs);
                if (s.x)
                    r.mapped.add(p.mappedMs, b.mappedMs);
                r.rss.add(p.peakMiB, b.peakMiB);
            }

            const std::string variant = std::to_string(i % 5 + 1);
            Probe pp, fp;
            if (programFirst) {
                pp = readProbe(measure({probe, variant}, s.env, w));
                fp = readProbe(measure({probe, variant, "--floor"}, s.env, w));
            } else {
                fp = readProbe(measure({probe, variant, "--floor"}, s.env, w));
                pp = readProbe(measure({probe, variant}, s.env, w));
            }
            const std::vector<double>& pv = pp.values;
            const std::vector<double>& fv = fp.values;
            if (pv.size() < 2 || fv.size() < 2) {
                ++r.failures;
                continue;
            }
            if (pp.bridge != s.bridge || fp.bridge != s.bridge)
                ++r.bridgeWrong;
            r.opened.add(pv[0], fv[0]);
            r.openPainted.add(pv[1], fv[1]);
            for (std::size_t k = 2; k + 1 < pv.size(); k += 2) {
                r.answers.push_back(pv[k]);
                r.answersPainted.push_back(pv[k + 1]);
            }
        }
    }

    std::vector<Target> targets;
    auto line = [](const char* what, const Pairs& p, const char* unit, int digits) {
        std::printf("  %-34s velitar %7.*f %s, %-9s %7.*f %s, ratio %.3f\n", what, digits, median(p.program), unit, "",
                    digits, median(p.other), unit, median(p.ratio));
    };
    for (std::size_t n = 0; n < settings.size(); ++n) {
        const Setting& s = settings[n];
        const Results& r = results[n];
        std::printf("\n%s (%zu pairs; medians, ratio = median of the pairs' ratios)\n", s.name.c_str(),
                    r.painted.ratio.size());
        std::printf("  start, against the bare window:\n");
        if (s.x)
            line("exec to window mapped", r.mapped, "ms", 2);
        line("exec to first paint", r.painted, "ms", 2);
        std::printf("  %-34s velitar %7.1f MiB, bare      %7.1f MiB, difference %+.1f MiB\n", "peak RSS",
                    median(r.rss.program), median(r.rss.other), median(r.rss.program) - median(r.rss.other));
        std::printf("  opening a test window, against plain Qt code for the same controls:\n");
        line("until created", r.opened, "ms", 2);
        line("until painted", r.openPainted, "ms", 2);
        const double answerMax = r.answers.empty() ? 0 : *std::max_element(r.answers.begin(), r.answers.end());
        std::printf("  %-34s %.3f ms (slowest of %zu: %.3f ms); until repainted %.3f ms\n", "one answer",
                    median(r.answers), r.answers.size(), answerMax, median(r.answersPainted));
        if (r.failures)
            std::printf("  %d pairs failed and are left out\n", r.failures);
        if (r.bridgeWrong)
            std::printf("  in %d pairs the accessibility bridge was %s\n", r.bridgeWrong, s.bridge ? "off" : "on");

        const std::string in = " (" + s.name + ")";
        if (s.x)
            targets.push_back({"exec to mapped <= 1.10 x bare window" + in, median(r.mapped.ratio) <= 1.10});
        targets.push_back({"exec to first paint <= 1.10 x bare window" + in, median(r.painted.ratio) <= 1.10});
        targets.push_back({"peak RSS <= bare window + 4 MiB" + in, median(r.rss.program) <= median(r.rss.other) + 4});
        targets.push_back({"test window until painted <= 1.10 x plain Qt" + in, median(r.openPainted.ratio) <= 1.10});
        targets.push_back({"one answer <= 0.5 ms" + in, !r.answers.empty() && median(r.answers) <= 0.5});
        if (r.failures)
            targets.push_back({"every run succeeded" + in, false});
        if (r.bridgeWrong)
            targets.push_back({std::string("accessibility bridge ") + (s.bridge ? "on" : "off") + in, false});
    }
    std::printf("\ntargets:\n");
    int missed = 0;
    for (const Target& t : targets) {
        std::printf("  %-6s %s\n", t.met ? "met" : "MISSED", t.what.c_str());
        missed += t.met ? 0 : 1;
    }
    std::printf("%zu targets: %zu met, %d MISSED\nmachine at the end: %s\n", targets.size(), targets.size() - missed,
                missed, machine().c_str());

    if (counting) {
        // "other" is the bare window for the start, plain Qt for the test window.
        std::printf("\ninstructions (callgrind, one run each of variant 3; the machine's load does not move them):\n");
        const std::string dir = std::string(runtime) + "/callgrind";
        fs::create_directories(dir);
        std::vector<Target> counted;
        for (const Setting& s : settings) {
            std::vector<std::string> splits;
            if (s.x)
                splits.push_back("xcb_map_window");
            splits.push_back("QCoreApplication::exit*");
            const std::vector<double> p = instructions({program}, s.env, splits, dir);
            const std::vector<double> b = instructions({bare}, s.env, splits, dir);
            const std::vector<std::string> marks = {"*velitarOpeningStarts*", "*velitarOpeningEnds*"};
            const std::vector<double> po = instructions({probe, "3", "--open-only"}, s.env, marks, dir);
            const std::vector<double> fo = instructions({probe, "3", "--floor"}, s.env, marks, dir);
            std::printf("%s\n", s.name.c_str());
            const std::string in = " (" + s.name + ", instructions)";
            if (p.empty() || b.empty() || po.empty() || fo.empty()) {
                std::printf("  a run under callgrind failed\n");
                counted.push_back({"every run under callgrind succeeded" + in, false});
                continue;
            }
            if (s.x) {
                std::printf("  %-34s %s\n", "exec to window mapped", millions(p[0], b[0]).c_str());
                counted.push_back({"exec to mapped <= 1.10 x bare window" + in, p[0] <= 1.10 * b[0]});
            }
            const double pp = s.x ? p[0] + p[1] : p[0], bp = s.x ? b[0] + b[1] : b[0];
            std::printf("  %-34s %s\n", "exec to first paint", millions(pp, bp).c_str());
            counted.push_back({"exec to first paint <= 1.10 x bare window" + in, pp <= 1.10 * bp});
            std::printf("  %-34s %s\n", "test window until painted", millions(po[1], fo[1]).c_str());
            counted.push_back({"test window until painted <= 1.10 x plain Qt" + in, po[1] <= 1.10 * fo[1]});
        }
        std::printf("\ntargets by instructions:\n");
        for (const Target& t : counted)
            std::printf("  %-6s %s\n", t.met ? "met" : "MISSED", t.what.c_str());
    }
    return finish(0);
}
