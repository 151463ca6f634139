#include "support/lzfu_compressor.h"

#include <algorithm>
#include <vector>

namespace lzfu {
namespace {

const char kDictionary[] =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern \\fscript "
    "\\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0\\blue0\r\n"
    "\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
constexpr std::size_t kDictionaryLength = sizeof kDictionary - 1;
constexpr std::size_t kRing = 4096;
constexpr std::size_t kMaxMatch = 17;
constexpr std::size_t kMinMatch = 3;
constexpr int kChainDepth = 48;
constexpr std::size_t kHashBits = 15;

void putLe32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Emits tokens in groups of eight behind a control byte whose bits, least
// significant first, mark references.
class TokenWriter
{
public:
    explicit TokenWriter(std::string& out) : out_(out) {}

    void literal(unsigned char byte)
    {
        open();
        out_.push_back(static_cast<char>(byte));
        ++bit_;
    }

    void reference(std::uint32_t offset, std::uint32_t length)
    {
        open();
        out_[control_] = static_cast<char>(out_[control_] | (1 << bit_));
        const std::uint32_t word = (offset << 4) | (length - 2);
        out_.push_back(static_cast<char>(word >> 8));
        out_.push_back(static_cast<char>(word & 0xFF));
        ++bit_;
    }

private:
    void open()
    {
        if (bit_ == 8) {
            control_ = out_.size();
            out_.push_back(0);
            bit_ = 0;
        }
    }

    std::string& out_;
    std::size_t control_ = 0;
    int bit_ = 8;
};

} // namespace

std::uint32_t crc(std::string_view bytes)
{
    // Bitwise on purpose: an independent check on the decoder's table.
    std::uint32_t c = 0;
    for (unsigned char byte : bytes) {
        c ^= byte;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return c;
}

std::string compressStream(std::string_view rtf)
{
    // The history as the decoder sees it: ring slots 207..4095 start out zero
    // and are the oldest bytes, then the dictionary text, then the input.
    // Position p of this buffer lives in ring slot (p + 207) % 4096.
    std::vector<unsigned char> history(kRing - kDictionaryLength, 0);
    history.insert(history.end(), kDictionary, kDictionary + kDictionaryLength);
    const std::size_t start = history.size();
    history.insert(history.end(), rtf.begin(), rtf.end());
    const std::size_t end = history.size();

    std::vector<std::int64_t> head(std::size_t(1) << kHashBits, -1);
    std::vector<std::int64_t> previous(kRing, -1);
    auto hashAt = [&](std::size_t p) {
        const std::uint32_t v = history[p] | (history[p + 1] << 8) | (history[p + 2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    auto insert = [&](std::size_t p) {
        if (p + kMinMatch > end)
            return;
        const std::uint32_t h = hashAt(p);
        previous[p % kRing] = head[h];
        head[h] = static_cast<std::int64_t>(p);
    };
    for (std::size_t p = 0; p < start; ++p)
        insert(p);

    std::string out;
    out.reserve(rtf.size() / 2 + 16);
    TokenWriter tokens(out);
    std::size_t p = start;
    while (p < end) {
        std::size_t bestLength = 0;
        std::size_t bestSource = 0;
        const std::size_t limit = std::min(kMaxMatch, end - p);
        if (limit >= kMinMatch) {
            std::int64_t candidate = head[hashAt(p)];
            for (int depth = 0; candidate >= 0 && depth < kChainDepth; ++depth) {
                const std::size_t c = static_cast<std::size_t>(candidate);
                if (c >= p || p - c >= kRing)
                    break;
                std::size_t n = 0;
                while (n < limit && history[c + n] == history[p + n])
                    ++n;
                if (n > bestLength) {
                    bestLength = n;
                    bestSource = c;
                    if (n == limit)
                        break;
                }
                candidate = previous[c % kRing];
            }
        }
        if (bestLength >= kMinMatch) {
            tokens.reference(static_cast<std::uint32_t>((bestSource + kDictionaryLength) % kRing),
                             static_cast<std::uint32_t>(bestLength));
            for (std::size_t k = 0; k < bestLength; ++k)
                insert(p + k);
            p += bestLength;
        } else {
            tokens.literal(history[p]);
            insert(p);
            ++p;
        }
    }
    // The end marker: a reference to the current write position.
    tokens.reference(static_cast<std::uint32_t>((end + kDictionaryLength) % kRing), 2);
    return out;
}

std::string wrap(std::string_view payload, std::uint32_t rawSize, std::uint32_t compType)
{
    std::string value;
    value.reserve(payload.size() + 16);
    putLe32(value, static_cast<std::uint32_t>(payload.size() + 12));
    putLe32(value, rawSize);
    putLe32(value, compType);
    putLe32(value, compType == kCompressed ? crc(payload) : 0);
    value.append(payload.data(), payload.size());
    return value;
}

std::string compress(std::string_view rtf)
{
    return wrap(compressStream(rtf), static_cast<std::uint32_t>(rtf.size()), kCompressed);
}

std::string store(std::string_view rtf)
{
    return wrap(rtf, static_cast<std::uint32_t>(rtf.size()), kUncompressed);
}

} // namespace lzfu
