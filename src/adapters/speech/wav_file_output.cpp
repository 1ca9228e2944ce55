#include "adapters/speech/wav_file_output.h"

#include <array>
#include <bit>
#include <stdexcept>

namespace planwarte {

namespace {

constexpr std::uint32_t kHeaderBytes = 44;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kChannels = 1;
// What the header says until the first text tells the engine's rate.
constexpr int kDefaultSampleRate = 22050;

void PutLittleEndian(std::array<char, kHeaderBytes>& header, std::size_t at, std::uint32_t value,
                     int bytes) {
    for (int i = 0; i < bytes; ++i) {
        header[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

}  // namespace

WavFileOutput::WavFileOutput(const std::string& path)
    : path_(path), file_(path, std::ios::binary | std::ios::trunc) {
    if (!file_) {
        throw std::runtime_error("cannot write the speech file " + path);
    }
    WriteHeader();
}

void WavFileOutput::WriteHeader() {
    const std::uint32_t rate =
        static_cast<std::uint32_t>(sample_rate_ != 0 ? sample_rate_ : kDefaultSampleRate);
    const std::uint16_t block_align = kChannels * kBitsPerSample / 8;
    std::array<char, kHeaderBytes> header{};
    const auto put_text = [&header](std::size_t at, const char* text) {
        for (std::size_t i = 0; i < 4; ++i) {
            header[at + i] = text[i];
        }
    };
    put_text(0, "RIFF");
    PutLittleEndian(header, 4, kHeaderBytes - 8 + data_bytes_, 4);
    put_text(8, "WAVE");
    put_text(12, "fmt ");
    PutLittleEndian(header, 16, 16, 4);  // size of the format chunk
    PutLittleEndian(header, 20, 1, 2);   // PCM
    PutLittleEndian(header, 22, kChannels, 2);
    PutLittleEndian(header, 24, rate, 4);
    PutLittleEndian(header, 28, rate * block_align, 4);
    PutLittleEndian(header, 32, block_align, 2);
    PutLittleEndian(header, 34, kBitsPerSample, 2);
    put_text(36, "data");
    PutLittleEndian(header, 40, data_bytes_, 4);
    file_.seekp(0);
    file_.write(header.data(), header.size());
    file_.seekp(0, std::ios::end);
}

void WavFileOutput::Write(const std::int16_t* samples, std::size_t count, int sample_rate) {
    sample_rate_ = sample_rate;
    // The samples are written as they are, in the file format's byte order.
    static_assert(std::endian::native == std::endian::little);
    file_.write(reinterpret_cast<const char*>(samples),
                static_cast<std::streamsize>(count * sizeof(std::int16_t)));
    data_bytes_ += static_cast<std::uint32_t>(count * sizeof(std::int16_t));
}

void WavFileOutput::Finish() {
    WriteHeader();
    file_.flush();
}

}  // namespace planwarte
