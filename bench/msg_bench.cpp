// .msg cases: whole files written to disk as Outlook lays them out, read
// through the viewer's and tessil's own entry point (TessilParser::parseFile:
// the file read into memory, the compound file opened, every storage read).

#include "bench.h"
#include "compound_file_writer.h"
#include "tnef_stream_writer.h"

#include "message/tessil_parser.h"

#include <QLoggingCategory>

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

const std::uint64_t kMiB = 1024 * 1024;

std::string le32(std::uint32_t v)
{
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string utf16(const std::string& ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string{c, '\0'};
    return out;
}

char hexDigit(unsigned v)
{
    return "0123456789ABCDEF"[v & 15];
}

std::string hex(std::uint32_t value, int digits)
{
    std::string out(size_t(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
        out[size_t(i)] = hexDigit(value);
    return out;
}

// A property stream and its value streams, for one storage.
class Properties
{
public:
    explicit Properties(std::string header)
        : stream_(std::move(header))
    {
    }
    void int32(std::uint16_t id, std::uint32_t value)
    {
        stream_ += le32(std::uint32_t(id) << 16 | 0x0003) + le32(6) + le32(value) + le32(0);
    }
    // A Unicode string kept in a value stream of its own.
    void text(bench::CompoundFileWriter& file, const std::string& storage, std::uint16_t id, const std::string& ascii)
    {
        const std::string bytes = utf16(ascii);
        file.addStream(storage + "/__substg1.0_" + hex(id, 4) + "001F", bytes);
        stream_ += le32(std::uint32_t(id) << 16 | 0x001F) + le32(6) + le32(std::uint32_t(bytes.size() + 2)) + le32(0);
    }
    void binarySize(std::uint16_t id, std::uint64_t size)
    {
        stream_ += le32(std::uint32_t(id) << 16 | 0x0102) + le32(6) + le32(std::uint32_t(size)) + le32(0);
    }
    void write(bench::CompoundFileWriter& file, const std::string& storage)
    {
        file.addStream(storage + "/__properties_version1.0", stream_);
    }

private:
    std::string stream_;
};

std::string writeMessage(const std::string& stem, int attachments, std::uint64_t attachmentSize, bool interleaved,
                         std::uint64_t& seed, std::uint64_t* size)
{
    const std::string path = bench::scratchPath(stem);
    bench::CompoundFileWriter file;
    file.setInterleaved(interleaved);
    Properties message(std::string(8, '\0') + le32(0) + le32(std::uint32_t(attachments)) + le32(0)
                       + le32(std::uint32_t(attachments)) + std::string(8, '\0'));
    message.text(file, "", 0x001A, "IPM.Note");
    message.text(file, "", 0x0037, "Benchmark message");
    message.text(file, "", 0x0042, "Bench Sender");
    message.text(file, "", 0x1000, "A plain body.");
    message.int32(0x3FDE, 65001);
    message.write(file, "");
    for (int i = 0; i < attachments; ++i) {
        const std::string storage = "/__attach_version1.0_#" + hex(std::uint32_t(i), 8);
        Properties attachment(std::string(8, '\0'));
        attachment.int32(0x3705, 1);
        attachment.text(file, storage, 0x3707, "part" + std::to_string(i) + ".bin");
        attachment.text(file, storage, 0x370E, "application/octet-stream");
        attachment.binarySize(0x3701, attachmentSize);
        attachment.write(file, storage);
        file.addLargeStream(storage + "/__substg1.0_37010102", attachmentSize,
                            [&seed](unsigned char* out, size_t n) { bench::fillPseudoRandom(out, n, seed); });
    }
    for (const char* stream : {"00020102", "00030102", "00040102"})
        file.addStream(std::string("/__nameid_version1.0/__substg1.0_") + stream, std::string());
    *size = file.write(path);
    return path;
}

class MsgParseCase : public bench::Case
{
public:
    void run() override
    {
        TessilParser parser;
        const QSharedPointer<TessilMessage> message = parser.parseFile(QString::fromStdString(path_));
        if (!message || message->attachmentCount() != attachments_)
            throw std::runtime_error("unexpected parse result for " + path_);
        for (int i = 0; i < attachments_; ++i) {
            if (quint64(message->attachmentAt(i)->data.size()) != attachmentSize_)
                throw std::runtime_error("an attachment of the wrong size in " + path_);
        }
        bench::keep(message->attachmentAt(0)->data.constData());
    }
    bool writesInputFile() const override { return true; }
    std::string inputPath() const override { return path_; }

protected:
    std::uint64_t prepareFile(const std::string& stem, int attachments, std::uint64_t attachmentSize, std::uint64_t seed,
                              bool interleaved = false)
    {
        // The model's per-message debug line is no part of the measure.
        QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
        attachments_ = attachments;
        attachmentSize_ = attachmentSize;
        path_ = writeMessage(stem, attachments, attachmentSize, interleaved, seed, &size_);
        return size_;
    }

    std::string path_;
    int attachments_ = 0;
    std::uint64_t attachmentSize_ = 0;
    std::uint64_t size_ = 0;
};

class OneLargeMsgAttachment : public MsgParseCase
{
public:
    std::uint64_t prepare() override { return prepareFile("one-64mib.msg", 1, 64 * kMiB, 3); }
    double memcpyFloor() const override { return 0.125; }
    double peakCeilingMiB() const override { return 3.0 * double(size_) / double(kMiB); }
};

class TwentyMsgAttachments : public MsgParseCase
{
public:
    std::uint64_t prepare() override { return prepareFile("twenty-1mib.msg", 20, kMiB, 4); }
};

// No attachment in one piece: every sector is copied out of the file's buffer.
class InterleavedMsgAttachments : public MsgParseCase
{
public:
    std::uint64_t prepare() override { return prepareFile("two-32mib-interleaved.msg", 2, 32 * kMiB, 5, true); }
    double memcpyFloor() const override { return 0.125; }
    double peakCeilingMiB() const override { return 3.0 * double(size_) / double(kMiB); }
};

} // namespace

// After the TNEF cases, each with a fresh peak.
QUORVIA_BENCH_CASE(OneLargeMsgAttachment, "msg_parse 64 MiB attachment", 15);
QUORVIA_BENCH_CASE(TwentyMsgAttachments, "msg_parse 20 x 1 MiB attachments", 25);
QUORVIA_BENCH_CASE(InterleavedMsgAttachments, "msg_parse 2 x 32 MiB attachments, sectors interleaved", 26);
