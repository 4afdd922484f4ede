// The real astrolume program, run as a child process in a working folder of its own.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

// A fresh folder under $TMPDIR (or /tmp), removed with everything in it at the end.
class WorkFolder {
  public:
    WorkFolder();
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const std::string& path() const { return path_; }
    // Writes `bytes` to path()/relative, making folders on the way.
    void write(const std::string& relative, const std::string& bytes) const;

  private:
    std::string path_;
};

// How a finished process ended.
struct Ending {
    bool exited; // false: killed by a signal
    int code;    // exit status, or the signal number
    // "exit status 1", "signal 11 (Segmentation fault)", and what the statuses of a child that never
    // became the program mean: "exit status 127: could not be executed".
    std::string describe() const;
};

class ProgramRun {
  public:
    // Starts astrolume on `display` with `folder` as working directory; `environment` adds or
    // replaces variables. Its output goes to astrolume.log in the folder. `unprivileged`: when the
    // tests run as root (as CI does), the program runs as the user nobody, for whom file permissions
    // count, from a copy in the folder (the build folder may lie where nobody cannot reach, in root's
    // home); the folder must then be one that nobody may enter (see whyNoUnprivilegedUser).
    ProgramRun(const std::string& display, const WorkFolder& folder,
               const std::vector<std::pair<std::string, std::string>>& environment = {},
               bool unprivileged = false);
    // Kills the program if it still runs, so no test leaves one behind.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    std::optional<Ending> waitForExit(std::chrono::milliseconds limit);
    bool running();
    // How it ended; empty while it runs.
    std::optional<Ending> ending();
    // Its output so far, and how it ended once it has.
    std::string log() const;
    // The program's resident memory (VmRSS), in KiB; 0 once it has ended.
    long residentKiB() const;

  private:
    pid_t pid_ = -1;
    std::optional<Ending> ending_;
    std::string logPath_;
};
