#pragma once

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/app/host_services.h"

// Host services for tests: fixed folders, an in-process instance lock, and a notice and a
// splash that record what the user would have seen.
namespace planwarte {

class FixedFolders : public Folders {
  public:
    FixedFolders(std::string program_folder, std::string temp_folder)
        : program_folder_(std::move(program_folder)), temp_folder_(std::move(temp_folder)) {}
    std::string ProgramFolder() const override { return program_folder_; }
    std::string TempFolder() const override { return temp_folder_; }

  private:
    std::string program_folder_;
    std::string temp_folder_;
};

// Lock names taken by other processes; a test marks a name as held to play the second instance.
class FakeInstanceLock : public InstanceLock {
  public:
    bool Acquire(const std::string& name) override;
    void HoldElsewhere(const std::string& name) { held_elsewhere_.insert(name); }
    const std::vector<std::string>& Requested() const { return requested_; }

  private:
    std::set<std::string> held_elsewhere_;
    std::vector<std::string> requested_;
};

class RecordingNotice : public UserNotice {
  public:
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override { ++beeps; }

    std::vector<std::string> messages;
    int beeps = 0;
};

// One line per call: "progress 0/11", "message Initialisieren", "close".
class RecordingSplash : public SplashWindow {
  public:
    explicit RecordingSplash(std::vector<std::string>& log) : log_(log) {}
    void SetProgress(int position, int maximum) override;
    void SetMessage(const std::string& text) override { log_.push_back("message " + text); }
    void Close() override { log_.push_back("close"); }

  private:
    std::vector<std::string>& log_;
};

class RecordingSplashFactory : public SplashFactory {
  public:
    std::unique_ptr<SplashWindow> CreateSplash() override;
    std::vector<std::string> log;
};

}  // namespace planwarte
