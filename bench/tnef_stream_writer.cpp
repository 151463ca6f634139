#include "tnef_stream_writer.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

std::string le16(std::uint16_t v)
{
    return std::string{char(v & 0xFF), char(v >> 8)};
}

std::string le32(std::uint32_t v)
{
    return std::string{char(v & 0xFF), char((v >> 8) & 0xFF), char((v >> 16) & 0xFF), char(v >> 24)};
}

std::string padded(std::string_view bytes)
{
    std::string out(bytes);
    out.append((4 - (bytes.size() & 3)) & 3, '\0');
    return out;
}

} // namespace

void fillPseudoRandom(unsigned char* out, size_t n, std::uint64_t& state)
{
    size_t i = 0;
    while (i < n) {
        // xorshift64*
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        const std::uint64_t v = state * 0x2545F4914F6CDD1DULL;
        for (int k = 0; k < 8 && i < n; ++k, ++i)
            out[i] = static_cast<unsigned char>(v >> (8 * k));
    }
}

TnefStreamWriter::TnefStreamWriter(const std::string& path)
{
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_)
        throw std::runtime_error("cannot write " + path);
    const std::string header = le32(0x223E9F78) + le16(0x0001);
    put(header.data(), header.size());
}

TnefStreamWriter::~TnefStreamWriter()
{
    if (file_)
        std::fclose(file_);
}

void TnefStreamWriter::put(const void* bytes, size_t n)
{
    if (std::fwrite(bytes, 1, n, file_) != n)
        throw std::runtime_error("short write");
    size_ += n;
}

void TnefStreamWriter::attribute(std::uint8_t level, std::uint16_t id, std::uint16_t type, std::string_view data)
{
    attribute(level, id, type, data.size(), [&, offset = size_t(0)](unsigned char* out, size_t n) mutable {
        std::copy(data.begin() + std::ptrdiff_t(offset), data.begin() + std::ptrdiff_t(offset + n), out);
        offset += n;
    });
}

void TnefStreamWriter::attribute(std::uint8_t level, std::uint16_t id, std::uint16_t type, std::uint64_t length,
                                 const std::function<void(unsigned char*, size_t)>& fill)
{
    const std::string head = std::string(1, char(level)) + le16(id) + le16(type) + le32(std::uint32_t(length));
    put(head.data(), head.size());
    const size_t chunk = 1 << 20;
    std::unique_ptr<unsigned char[]> buffer(new unsigned char[chunk]);
    std::uint32_t sum = 0;
    for (std::uint64_t done = 0; done < length;) {
        const size_t n = size_t(std::min<std::uint64_t>(chunk, length - done));
        fill(buffer.get(), n);
        for (size_t i = 0; i < n; ++i)
            sum += buffer[i];
        put(buffer.get(), n);
        done += n;
    }
    const std::string checksum = le16(std::uint16_t(sum & 0xFFFF));
    put(checksum.data(), checksum.size());
}

std::uint64_t TnefStreamWriter::finish()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return size_;
}

std::string TnefStreamWriter::block(const std::vector<std::string>& properties)
{
    std::string out = le32(std::uint32_t(properties.size()));
    for (const std::string& p : properties)
        out += p;
    return out;
}

std::string TnefStreamWriter::int32Property(std::uint16_t id, std::uint32_t value)
{
    return le16(0x0003) + le16(id) + le32(value);
}

std::string TnefStreamWriter::string8Property(std::uint16_t id, std::string_view text)
{
    std::string value(text);
    value.push_back('\0');
    return le16(0x001E) + le16(id) + le32(1) + le32(std::uint32_t(value.size())) + padded(value);
}

std::string TnefStreamWriter::binaryProperty(std::uint16_t id, std::string_view bytes)
{
    return le16(0x0102) + le16(id) + le32(1) + le32(std::uint32_t(bytes.size())) + padded(bytes);
}

} // namespace bench
