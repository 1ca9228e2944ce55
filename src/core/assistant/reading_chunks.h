#pragma once

#include <string>
#include <vector>

// How a long text is handed to the speaking character: in chunks of whole lines joined by
// blanks, each ending after the line that brought in a sentence mark or pushed it past the
// length limit, so that no sentence is cut inside a line.
namespace planwarte {

inline constexpr std::size_t kChunkedTextLength = 600;  // longer texts are chunked
inline constexpr std::size_t kLongestChunk = 500;       // a longer chunk is handed over
// A sentence mark counts from this position of the chunk on (counted from 1), so that an
// abbreviation at the very start ("Dr. ") does not end a chunk of its own.
inline constexpr std::size_t kFirstSentenceMarkPosition = 4;

struct ReadingChunk {
    // Why the chunk ended. A chunk that ends for its length is skipped when the character is
    // gone; one that ends at a sentence mark, or the last one, ends the reading then.
    enum class End { Length, SentenceMark, LastLine, WholeText };
    std::string text;
    End end = End::WholeText;
};

// Empty for an empty text; the text itself as one chunk up to kChunkedTextLength characters.
std::vector<ReadingChunk> ReadingChunks(const std::string& text);

}  // namespace planwarte
