#include "tests/support/e2e_program.h"
#include "tests/support/e2e_wait.h"
#include "tests/support/unprivileged.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

#ifndef ASTROLUME_PROGRAM
#error "ASTROLUME_PROGRAM must name the built astrolume executable"
#endif

namespace fs = std::filesystem;

WorkFolder::WorkFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/astrolume-e2e-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + pattern);
    path_ = pattern;
}

WorkFolder::~WorkFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void WorkFolder::write(const std::string& relative, const std::string& bytes) const {
    fs::path file = fs::path(path_) / relative;
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string Ending::describe() const {
    if (!exited) return "signal " + std::to_string(code) + " (" + strsignal(code) + ")";
    // The statuses the child takes before it becomes the program, as a shell's are.
    const char* meaning = code == 127   ? ": could not be executed"
                          : code == 126 ? ": could not enter its working folder"
                          : code == 125 ? ": could not become the user nobody"
                                        : "";
    return "exit status " + std::to_string(code) + meaning;
}

ProgramRun::ProgramRun(const std::string& display, const WorkFolder& folder,
                       const std::vector<std::pair<std::string, std::string>>& environment, bool unprivileged)
    : logPath_(folder.path() + "/astrolume.log") {
    const bool dropping = unprivileged && geteuid() == 0;
    std::string program = ASTROLUME_PROGRAM;
    if (dropping) {
        if (const std::string why = whyNoUnprivilegedUser(); !why.empty()) throw std::runtime_error(why);
        program = folder.path() + "/astrolume";
        fs::copy_file(ASTROLUME_PROGRAM, program, fs::copy_options::overwrite_existing);
        fs::permissions(program, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    }
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ != 0) return;

    setpgid(0, 0);
    int log = open(logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
        dup2(log, 1);
        dup2(log, 2);
        close(log);
    }
    if (dropping && !becomeUnprivileged()) _exit(125);
    if (chdir(folder.path().c_str()) != 0) _exit(126);
    setenv("DISPLAY", display.c_str(), 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1); // the same pixels on every machine
    setenv("NO_AT_BRIDGE", "1", 1);          // no accessibility bus to wait for
    for (const auto& [name, value] : environment)
        setenv(name.c_str(), value.c_str(), 1);
    execl(program.c_str(), "astrolume", static_cast<char*>(nullptr));
    _exit(127);
}

ProgramRun::~ProgramRun() {
    if (!running()) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
}

bool ProgramRun::running() {
    if (ending_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    ending_ = WIFEXITED(status) ? Ending{true, WEXITSTATUS(status)} : Ending{false, WTERMSIG(status)};
    return false;
}

std::optional<Ending> ProgramRun::ending() {
    running();
    return ending_;
}

std::optional<Ending> ProgramRun::waitForExit(std::chrono::milliseconds limit) {
    waitUntil(limit, [&] { return !running(); });
    return ending_;
}

std::string ProgramRun::log() const {
    std::ifstream in(logPath_);
    std::stringstream text;
    // An empty log copies nothing, which leaves `text` failed and deaf to the line below: cleared.
    text << in.rdbuf();
    text.clear();
    if (ending_) text << "[astrolume has ended: " << ending_->describe() << "]\n";
    return text.str();
}

long ProgramRun::residentKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}
