#include "adapters/speech/sound_device_output.h"

#include <pcaudiolib/audio.h>

#include <utility>

namespace planwarte {

namespace {

constexpr const char* kApplicationName = "Planwarte";
constexpr const char* kStreamDescription = "Sprachausgabe";

}  // namespace

SoundDeviceOutput::SoundDeviceOutput(std::function<void(const std::string&)> trace)
    : trace_(std::move(trace)) {}

SoundDeviceOutput::~SoundDeviceOutput() {
    if (device_) {
        if (open_rate_ != 0) {
            audio_object_close(device_);
        }
        audio_object_destroy(device_);
    }
}

void SoundDeviceOutput::GiveUp(const std::string& why) {
    unavailable_ = true;
    trace_("Sprachausgabe ohne Tonausgabe: " + why);
}

bool SoundDeviceOutput::Open(int sample_rate) {
    if (unavailable_) {
        return false;
    }
    if (open_rate_ == sample_rate) {
        return true;
    }
    if (!device_) {
        device_ = create_audio_device_object(nullptr, kApplicationName, kStreamDescription);
        if (!device_) {
            GiveUp("kein Tongerät");
            return false;
        }
    }
    if (open_rate_ != 0) {
        audio_object_close(device_);
        open_rate_ = 0;
    }
    const int error = audio_object_open(device_, AUDIO_OBJECT_FORMAT_S16LE,
                                        static_cast<uint32_t>(sample_rate), 1);
    if (error != 0) {
        GiveUp(audio_object_strerror(device_, error));
        return false;
    }
    open_rate_ = sample_rate;
    return true;
}

void SoundDeviceOutput::Write(const std::int16_t* samples, std::size_t count, int sample_rate) {
    if (!Open(sample_rate)) {
        return;
    }
    const int error = audio_object_write(device_, samples, count * sizeof(std::int16_t));
    if (error != 0) {
        // A device that went away (unplugged, sound server ended) is not tried again.
        audio_object_close(device_);
        open_rate_ = 0;
        GiveUp(audio_object_strerror(device_, error));
    }
}

void SoundDeviceOutput::Finish() {
    if (open_rate_ != 0) {
        audio_object_drain(device_);
    }
}

void SoundDeviceOutput::Discard() {
    if (open_rate_ != 0) {
        audio_object_flush(device_);
    }
}

}  // namespace planwarte
