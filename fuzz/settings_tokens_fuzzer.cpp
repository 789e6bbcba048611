// A settings file of any bytes fed to SettingsTokenizer in pieces of random
// sizes: the tokens are the same however it is cut, at most 259 bytes each,
// without white space, and each is what splitting the whole file's text
// (UTF-8, or UTF-16 after its mark) gives.
#include <algorithm>
#include <random>

#include "fuzz/fuzz_support.h"
#include "settings/settings_tokens.h"
#include "text/utf8_sequence.h"

namespace {

bool isWhiteSpace(char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

// The file's text: without a leading UTF-8 mark; after a UTF-16 one, each
// whole unit as its own UTF-8 sequence.
std::string modelText(const std::string& content)
{
    if (content.rfind("\xEF\xBB\xBF", 0) == 0) return content.substr(3);
    const bool littleEndian = content.rfind("\xFF\xFE", 0) == 0;
    if (!littleEndian && content.rfind("\xFE\xFF", 0) != 0) return content;
    std::string text;
    for (size_t i = 2; i + 1 < content.size(); i += 2) {
        const uint32_t first = static_cast<unsigned char>(content[i]);
        const uint32_t second = static_cast<unsigned char>(content[i + 1]);
        char sequence[6];
        text.append(sequence, encodeUtf8Sequence(littleEndian ? first | second << 8 : first << 8 | second, sequence));
    }
    return text;
}

// The file's text split at white space, without the tokens that are too long.
std::vector<std::string> modelTokens(const std::string& content)
{
    std::vector<std::string> tokens;
    std::string token;
    for (size_t i = 0; i <= content.size(); ++i) {
        if (i < content.size() && !isWhiteSpace(content[i])) {
            token.push_back(content[i]);
            continue;
        }
        if (!token.empty() && token.size() <= SettingsTokenizer::kMaxTokenLength) tokens.push_back(token);
        token.clear();
    }
    return tokens;
}

template <typename PieceSize>
std::vector<std::string> tokensOf(const std::string& content, PieceSize nextPieceSize, bool* heldText = nullptr)
{
    std::vector<std::string> tokens;
    SettingsTokenizer tokenizer([&tokens](const Utf8String& token) {
        requireWellFormed(token);
        tokens.push_back(bytesOf(token));
    });
    for (size_t at = 0; at < content.size();) {
        const size_t piece = std::min(nextPieceSize(), content.size() - at);
        tokenizer.feed(content.data() + at, piece);
        at += piece;
    }
    tokenizer.finish();
    if (heldText) *heldText = tokenizer.heldText();
    return tokens;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size < 2) return 0;
    // The first two bytes choose the cuts, the rest is the file.
    std::minstd_rand random(1u + bytes[0] + (static_cast<unsigned>(bytes[1]) << 8));
    std::uniform_int_distribution<size_t> pieceSizes(0, 2 * SettingsTokenizer::kMaxTokenLength);
    const std::string content(reinterpret_cast<const char*>(bytes) + 2, size - 2);

    bool heldText = false;
    const std::vector<std::string> whole = tokensOf(content, [&content] { return content.size(); }, &heldText);
    const std::vector<std::string> pieces = tokensOf(content, [&] { return pieceSizes(random); });
    const std::vector<std::string> single = tokensOf(content, [] { return size_t(1); });
    require(pieces == whole && single == whole, "the tokens do not depend on the pieces");

    const std::string text = modelText(content);
    require(heldText == !std::all_of(text.begin(), text.end(), isWhiteSpace), "text is all but white space");
    const std::vector<std::string> expected = modelTokens(text);
    require(whole.size() == expected.size(), "one token per white-space-separated word that fits");
    for (size_t i = 0; i < whole.size(); ++i) {
        const std::string& token = whole[i];
        const std::string& word = expected[i];
        require(token.size() <= SettingsTokenizer::kMaxTokenLength, "a token is at most 259 bytes");
        require(std::none_of(token.begin(), token.end(), isWhiteSpace), "a token holds no white space");
        require(word.compare(0, token.size(), token) == 0, "a token is its word");
        if (token.size() < word.size()) {
            const auto lead = static_cast<unsigned char>(word[token.size()]);
            require(word.size() - token.size() < static_cast<size_t>(utf8SequenceLength(lead)),
                    "a token loses only a cut-off last sequence");
        }
    }
    return 0;
}
