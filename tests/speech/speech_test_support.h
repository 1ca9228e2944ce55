#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "adapters/speech/audio_output.h"
#include "core/assistant/speech_service.h"

namespace planwarte::testing_support {

constexpr auto kSpeechTimeout = std::chrono::seconds(20);

// Keeps the samples of each spoken text. With the gate closed, the first write waits until
// the test opens it, so that the test can queue more while the first text is being spoken.
class RecordingOutput : public AudioOutput {
  public:
    struct Text {
        std::vector<std::int16_t> samples;
        bool discarded = false;
    };

    void Write(const std::int16_t* samples, std::size_t count, int sample_rate) override {
        std::unique_lock lock(mutex_);
        writing_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return gate_open_; });
        sample_rate_ = sample_rate;
        current_.insert(current_.end(), samples, samples + count);
    }
    void Finish() override { End(false); }
    void Discard() override { End(true); }

    void CloseGate() {
        std::lock_guard lock(mutex_);
        gate_open_ = false;
    }
    void OpenGate() {
        std::lock_guard lock(mutex_);
        gate_open_ = true;
        changed_.notify_all();
    }
    // True once a text has begun to be written.
    bool WaitUntilWriting() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kSpeechTimeout, [this] { return writing_; });
    }

    std::vector<Text> Texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }
    int SampleRate() const {
        std::lock_guard lock(mutex_);
        return sample_rate_;
    }

  private:
    void End(bool discarded) {
        std::lock_guard lock(mutex_);
        texts_.push_back({std::move(current_), discarded});
        current_.clear();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool gate_open_ = true;
    bool writing_ = false;
    int sample_rate_ = 0;
    std::vector<std::int16_t> current_;
    std::vector<Text> texts_;
};

// The service's reports as lines: "Idle(1,started)", "Idle(1,ended)", "Visible(1,shown)",
// "Visible(1,hidden)", "DoubleClick(1)".
class RecordingSink : public SpeechNotificationSink {
  public:
    void VisibleState(int character_id, bool visible) override {
        Add("Visible(" + std::to_string(character_id) + (visible ? ",shown)" : ",hidden)"));
    }
    void DoubleClick(int character_id) override {
        Add("DoubleClick(" + std::to_string(character_id) + ")");
    }
    void Idle(int character_id, bool started) override {
        Add("Idle(" + std::to_string(character_id) + (started ? ",started)" : ",ended)"));
    }

    // True once the line has been reported count times.
    bool WaitFor(const std::string& line, int count = 1) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kSpeechTimeout, [&] {
            return std::count(lines_.begin(), lines_.end(), line) >= count;
        });
    }
    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }

  private:
    void Add(const std::string& line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(line);
        changed_.notify_all();
    }

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

}  // namespace planwarte::testing_support
