#include "core/assistant/reading_chunks.h"

namespace planwarte {

namespace {

// Lines at carriage return, line feed or both.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
                ++at;
            }
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

bool HasSentenceMark(const std::string& chunk) {
    for (const char* mark : {". ", "! ", "? "}) {
        if (chunk.find(mark, kFirstSentenceMarkPosition - 1) != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<ReadingChunk> ReadingChunks(const std::string& text) {
    if (text.empty()) {
        return {};
    }
    if (text.size() <= kChunkedTextLength) {
        return {{text, ReadingChunk::End::WholeText}};
    }
    std::vector<ReadingChunk> chunks;
    std::string chunk;
    for (const std::string& line : Lines(text)) {
        chunk += line + " ";
        if (chunk.size() > kLongestChunk) {
            chunks.push_back({chunk, ReadingChunk::End::Length});
            chunk.clear();
        }
        if (HasSentenceMark(chunk)) {
            chunks.push_back({chunk, ReadingChunk::End::SentenceMark});
            chunk.clear();
        }
    }
    if (!chunk.empty()) {
        chunks.push_back({chunk, ReadingChunk::End::LastLine});
    }
    return chunks;
}

}  // namespace planwarte
