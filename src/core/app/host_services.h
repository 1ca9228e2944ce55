#pragma once

#include <memory>
#include <string>

namespace planwarte {

// Where the program keeps its files. Both folder texts end with the path separator.
class Folders {
  public:
    virtual ~Folders() = default;
    // The folder beside the program: designs, sayings, help.
    virtual std::string ProgramFolder() const = 0;
    // The per-user temporary folder: trace log and page file.
    virtual std::string TempFolder() const = 0;
};

// The named lock that keeps one instance running per user.
class InstanceLock {
  public:
    virtual ~InstanceLock() = default;
    // Takes the lock with the given name; false when another process holds it already.
    // The lock is held until the object is destroyed.
    virtual bool Acquire(const std::string& name) = 0;
};

// Modal message box and the system beep.
class UserNotice {
  public:
    virtual ~UserNotice() = default;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void Beep() = 0;
};

// The start-up splash window. It exists from creation until Close.
class SplashWindow {
  public:
    virtual ~SplashWindow() = default;
    virtual void SetProgress(int position, int maximum) = 0;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void Close() = 0;  // hides and frees the window
};

class SplashFactory {
  public:
    virtual ~SplashFactory() = default;
    // Creates the splash window, which shows itself.
    virtual std::unique_ptr<SplashWindow> CreateSplash() = 0;
};

}  // namespace planwarte
