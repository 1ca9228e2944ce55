#pragma once

#include <string>

// The reminder options dialog as the settings dialog opens it: how often a reminder is read
// out again for each importance, and whether it is read out again at all. Every change is
// stored at once; there is no cancel. The window shows what this class holds.
namespace planwarte {

class SettingsStore;

// The dialog's fixed texts.
namespace reminder_options_text {
inline constexpr const char* kCaption = "ReminderOptions";
inline constexpr const char* kCyclicCaption = "Zyklisch alle:";
inline constexpr const char* kCyclicHint =
    "Die, in OL aktivierten Erinnerungen werden zyklisch vorgelesen.";
inline constexpr const char* kLowLabel = "Minuten bei Ereignisspriorität NIEDRIG";
inline constexpr const char* kNormalLabel = "Minuten bei Ereignisspriorität NORMAL";
inline constexpr const char* kHighLabel = "Minuten bei Ereignisspriorität HOCH";
inline constexpr const char* kLowHint =
    "Wenn für das Ereigniss Priorität NIEDRIG eingestellt ist, so wird das Ereigniss alle x "
    "Minuten vorgelesen.";
inline constexpr const char* kNormalHint =
    "Wenn für das Ereigniss Priorität NORMAL eingestellt ist, so wird das Ereigniss alle x "
    "Minuten vorgelesen.";
inline constexpr const char* kHighHint =
    "Wenn für das Ereigniss Priorität HOCH eingestellt ist, so wird das Ereigniss alle x "
    "Minuten vorgelesen.";
inline constexpr const char* kOkHint = "Speichern und beenden";
}  // namespace reminder_options_text

class TfrmReminderOptions {
  public:
    // What the controls show.
    struct Controls {
        int cycle_low = 3;  // minutes; the up-downs' own position before the settings are read
        int cycle_normal = 3;
        int cycle_high = 3;
        bool cyclic = false;         // chbReminderZyklisch
        bool cycles_enabled = true;  // the three edits and their up-downs
    };

    static constexpr int kFallbackCycle = 5;
    static constexpr int kShortestCycle = 1;
    static constexpr int kLongestCycle = 60;

    explicit TfrmReminderOptions(SettingsStore& settings) : settings_(settings) {}

    void FormCreate();
    void chbReminderZyklischClick(bool ticked);
    // The edits' texts as the user typed them.
    void CycleLowChange(const std::string& text);
    void CycleNormalChange(const std::string& text);
    void CycleHighChange(const std::string& text);
    // Closes the dialog with OK; everything is stored already.
    bool OkClick() const { return true; }

    const Controls& Shown() const { return controls_; }

  private:
    void StoreCycle(const char* value_name, const std::string& text, int& shown);

    SettingsStore& settings_;
    Controls controls_;
};

}  // namespace planwarte
