#pragma once

namespace planwarte {

class Clock;
class DesktopWindow;
class EventLoop;
class FileSystem;
class Folders;
class InstanceLock;
class OlApplicationFactory;
class PageView;
class SafeItemLibrary;
class SettingsStore;
class ShellLauncher;
class SpeechService;
class SplashFactory;
class TMKFFehler;
class TraceLog;
class UserNotice;

// What the platform hands the core: one reference per service. The optional ones are null in
// the modes that run without them (page rendering has no splash and no instance lock).
struct Services {
    SettingsStore& settings;
    Clock& clock;
    EventLoop& loop;
    FileSystem& files;
    Folders& folders;
    UserNotice& notice;
    // One trace per process: the adapters trace into it as well as the core.
    TraceLog& trace;
    OlApplicationFactory& outlook;
    SafeItemLibrary& safe_items;
    InstanceLock* instance_lock = nullptr;
    SplashFactory* splash = nullptr;
    // Where the built page is shown; without one the page is built but not shown.
    PageView* page_view = nullptr;
    // The desktop window's fades, frame and placement; null without a window.
    DesktopWindow* window = nullptr;
    // Starts the calendar program for its new-item commands; null: those commands do nothing.
    ShellLauncher* shell = nullptr;
    // The speaking character; null: no assistant (its start answers "not available").
    SpeechService* speech = nullptr;
    // The checks for the components the speaking character needs; null: none are made.
    TMKFFehler* component_checks = nullptr;
};

}  // namespace planwarte
