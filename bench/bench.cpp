// velitar_bench: how fast Velitar starts and answers, next to a bare Qt
// Widgets window.
//
//   velitar_bench [--runs N] [--platform offscreen|xvfb|both] [--program PATH]
//
// Runs interleaved, N times each (default 21), on each platform:
//   - velitar_first_paint (the program with the first-paint hook) and
//     bare_window (a window with a line of text; also without any text):
//     time from starting the process to its first painted window, and the
//     peak resident set size of the process;
//   - velitar_bench_run (variants 1..5 in turn): the time to open a test
//     window, and to answer a question until the window has repainted.
// Prints the medians, the ratios to the bare window and the targets.
// Under "xvfb" it starts its own Xvfb and session bus. --program measures
// another build of the program (with the same hook) in place of
// velitar_first_paint.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
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

struct Run {
    bool ok = false;
    std::string output;
    double startMs = 0; // process start to the printed first-paint moment
    double peakMiB = 0;
};

Run measure(const std::vector<std::string>& argv, const Environment& env)
{
    Run run;
    const long long started = now();
    Child child = spawn(argv, env);
    run.output = readAll(child.out);
    close(child.out);
    int status = 0;
    rusage usage{};
    wait4(child.pid, &status, 0, &usage);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
    long long painted = 0;
    if (std::sscanf(run.output.c_str(), "first-paint %lld", &painted) == 1)
        run.startMs = static_cast<double>(painted - started) / 1e6;
    return run;
}

struct Platform {
    std::string name;
    Environment env;
    std::vector<pid_t> helpers; // Xvfb, dbus-daemon
};

std::optional<Platform> offscreen(const Environment& base)
{
    Platform p{"offscreen", base, {}};
    p.env.vars["QT_QPA_PLATFORM"] = "offscreen";
    return p;
}

std::optional<Platform> xvfb(const Environment& base)
{
    Platform p{"Xvfb", base, {}};
    p.env.vars.erase("QT_QPA_PLATFORM");
    p.env.vars.erase("WAYLAND_DISPLAY");
    Child server = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, base, true);
    const std::string display = readLine(server.out);
    close(server.out);
    if (display.empty()) {
        std::fprintf(stderr, "velitar_bench: Xvfb did not start\n");
        kill(server.pid, SIGTERM);
        waitpid(server.pid, nullptr, 0);
        return std::nullopt;
    }
    p.helpers.push_back(server.pid);
    p.env.vars["DISPLAY"] = ':' + display;
    // A session bus of its own, as a desktop has one: without it every Qt
    // program on X would first try to start one.
    Child bus = spawn({"dbus-daemon", "--session", "--nofork", "--print-address=3"}, base, true);
    const std::string address = readLine(bus.out);
    close(bus.out);
    if (!address.empty()) {
        p.helpers.push_back(bus.pid);
        p.env.vars["DBUS_SESSION_BUS_ADDRESS"] = address;
    }
    return p;
}

void stop(Platform& p)
{
    for (pid_t pid : p.helpers) {
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
    }
}

struct Results {
    std::vector<double> startProgram, startBare, startEmpty, rssProgram, rssBare, open, openPainted, answers,
        answersPainted;
    int failures = 0;
};

Results benchmark(Platform& platform, int runs, const std::string& program, const std::string& bare,
                  const std::string& probe)
{
    Results r;
    for (int i = 0; i < runs; ++i) {
        // Rotate which goes first, so that none always finds the caches
        // warmed by the others.
        for (int turn = 0; turn < 3; ++turn) {
            const int which = (i + turn) % 3; // 0: the program, 1: bare window, 2: empty bare window
            const Run run = which == 0   ? measure({program}, platform.env)
                            : which == 1 ? measure({bare}, platform.env)
                                         : measure({bare, "--empty"}, platform.env);
            if (!run.ok || run.startMs <= 0) {
                ++r.failures;
                continue;
            }
            (which == 0 ? r.startProgram : which == 1 ? r.startBare : r.startEmpty).push_back(run.startMs);
            if (which < 2)
                (which == 0 ? r.rssProgram : r.rssBare).push_back(run.peakMiB);
        }
        const Run run = measure({probe, std::to_string(i % 5 + 1)}, platform.env);
        std::istringstream in(run.output);
        std::string word;
        long long open = 0, painted = 0;
        if (!run.ok || !(in >> word >> open >> painted >> word) || word != "answers") {
            ++r.failures;
            continue;
        }
        r.open.push_back(static_cast<double>(open) / 1e6);
        r.openPainted.push_back(static_cast<double>(painted) / 1e6);
        long long answer = 0, answerPainted = 0;
        while (in >> answer >> answerPainted) {
            r.answers.push_back(static_cast<double>(answer) / 1e6);
            r.answersPainted.push_back(static_cast<double>(answerPainted) / 1e6);
        }
    }
    return r;
}

void report(const Platform& p, const Results& r, int runs)
{
    const double program = median(r.startProgram), bare = median(r.startBare);
    const double rssProgram = median(r.rssProgram), rssBare = median(r.rssBare);
    const double open = median(r.open), openPainted = median(r.openPainted), answer = median(r.answers);
    const double answerPainted = median(r.answersPainted);
    const double answerMax = r.answers.empty() ? 0 : *std::max_element(r.answers.begin(), r.answers.end());
    std::printf("\n%s (%d runs each, interleaved; medians)\n", p.name.c_str(), runs);
    std::printf("  start, process start to first painted window: velitar %.1f ms, bare window %.1f ms, ratio %.2f\n",
                program, bare, bare > 0 ? program / bare : 0);
    std::printf("  (a window without any text: %.1f ms)\n", median(r.startEmpty));
    std::printf("  peak RSS: velitar %.1f MiB, bare window %.1f MiB, difference %+.1f MiB\n", rssProgram, rssBare,
                rssProgram - rssBare);
    std::printf("  open a test window: %.2f ms (%.1f %% of start); until painted %.2f ms (%.1f %%)\n", open,
                program > 0 ? 100 * open / program : 0, openPainted, program > 0 ? 100 * openPainted / program : 0);
    std::printf("  one answer: %.3f ms (slowest of %zu: %.3f ms); until repainted %.3f ms\n", answer, r.answers.size(),
                answerMax, answerPainted);
    std::printf("  targets: start <= 1.10 x bare: %s; RSS <= bare + 4 MiB: %s; open <= 5 %% of start: %s; "
                "answer <= 0.5 ms: %s\n",
                program <= 1.10 * bare ? "met" : "MISSED", rssProgram <= rssBare + 4 ? "met" : "MISSED",
                open <= 0.05 * program ? "met" : "MISSED", answer <= 0.5 ? "met" : "MISSED");
    if (r.failures)
        std::printf("  %d runs failed and are left out\n", r.failures);
}

} // namespace

int main(int argc, char* argv[])
{
    int runs = 21;
    std::string platforms = "both";
    const fs::path here = fs::canonical("/proc/self/exe").parent_path();
    std::string program = (here / "velitar_first_paint").string();
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--platform" && i + 1 < argc)
            platforms = argv[++i];
        else if (a == "--program" && i + 1 < argc)
            program = fs::absolute(argv[++i]).string();
        else {
            std::fprintf(stderr, "usage: velitar_bench [--runs N] [--platform offscreen|xvfb|both] [--program PATH]\n");
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

    std::printf("velitar_bench: %s against %s\n", program.c_str(), bare.c_str());
    int status = 0;
    for (const std::string name : {"offscreen", "xvfb"}) {
        if (platforms != "both" && platforms != name)
            continue;
        std::optional<Platform> platform = name == "offscreen" ? offscreen(base) : xvfb(base);
        if (!platform) {
            status = 1;
            continue;
        }
        // One run of each first, not counted: the file caches are warm for all.
        measure({program}, platform->env);
        measure({bare}, platform->env);
        const Results results = benchmark(*platform, runs, program, bare, probe);
        report(*platform, results, runs);
        stop(*platform);
    }
    fs::remove_all(runtime);
    return status;
}
