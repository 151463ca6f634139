// Decoder cases: whole-stream parses of large generated files and the RTF
// decompressor alone.

#include "bench.h"
#include "rtf_sample.h"
#include "support/lzfu_compressor.h"
#include "tnef/compressed_rtf.h"
#include "tnef/tnef.h"
#include "tnef_stream_writer.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

const std::uint64_t kMiB = 1024 * 1024;

enum : std::uint16_t {
    kAttAttachRenddata = 0x9002,
    kAttAttachTitle = 0x8010,
    kAttAttachData = 0x800F,
    kAttAttachment = 0x9005,
    kAttMsgProps = 0x9003,
    kAttTnefVersion = 0x9006,
    kAtpByte = 0x0006,
    kAtpString = 0x0001,
    kAtpDword = 0x0008,
};

void writeAttachment(bench::TnefStreamWriter& w, const std::string& name, std::uint64_t size, std::uint64_t& seed)
{
    w.attribute(2, kAttAttachRenddata, kAtpByte, std::string("\x01\x00\xFF\xFF\xFF\xFF\x20\x00\x20\x00\x00\x00\x00\x00", 14));
    w.attribute(2, kAttAttachTitle, kAtpString, name + std::string(1, '\0'));
    w.attribute(2, kAttAttachData, kAtpByte, size,
                [&seed](unsigned char* out, size_t n) { bench::fillPseudoRandom(out, n, seed); });
    w.attribute(2, kAttAttachment, kAtpByte,
                bench::TnefStreamWriter::block({bench::TnefStreamWriter::int32Property(0x3705, 1),
                                                bench::TnefStreamWriter::string8Property(0x3707, name),
                                                bench::TnefStreamWriter::string8Property(0x370E, "application/octet-stream")}));
}

void writeMessageHeader(bench::TnefStreamWriter& w, const std::vector<std::string>& extra = {})
{
    w.attribute(1, kAttTnefVersion, kAtpDword, std::string("\x00\x00\x01\x00", 4));
    std::vector<std::string> props{bench::TnefStreamWriter::int32Property(0x3FDE, 1252),
                                   bench::TnefStreamWriter::string8Property(0x0037, "Benchmark message"),
                                   bench::TnefStreamWriter::string8Property(0x0042, "Bench Sender")};
    props.insert(props.end(), extra.begin(), extra.end());
    w.attribute(1, kAttMsgProps, kAtpByte, bench::TnefStreamWriter::block(props));
}

// Parses a generated file from disk (it sits in the page cache after the
// first run), with the decoder's diagnostics silenced.
class ParseCase : public bench::Case
{
public:
    void run() override
    {
        FILE* f = std::fopen(path_.c_str(), "rb");
        if (!f)
            throw std::runtime_error("cannot read " + path_);
        TnefResult* r = tnef_parse(f);
        std::fclose(f);
        if (!r || r->error != 0 || r->attachment_count != expectedAttachments_ || (expectRtf_ && !r->rtf))
            throw std::runtime_error("unexpected parse result for " + path_);
        bench::keep(r->attachment_count ? r->attachments[0].data : r->rtf);
        tnef_free(r);
    }

    bool writesInputFile() const override { return true; }
    std::string inputPath() const override { return path_; }

protected:
    std::uint64_t prepared(std::uint64_t size)
    {
        tnef_set_diagnostics(nullptr);
        size_ = size;
        return size;
    }

    std::string path_;
    int expectedAttachments_ = 0;
    bool expectRtf_ = false;
    std::uint64_t size_ = 0;
};

class OneLargeAttachment : public ParseCase
{
public:
    std::uint64_t prepare() override
    {
        path_ = bench::scratchPath("one-64mib.tnef");
        std::uint64_t seed = 1;
        bench::TnefStreamWriter w(path_);
        writeMessageHeader(w);
        writeAttachment(w, "large.bin", 64 * kMiB, seed);
        expectedAttachments_ = 1;
        return prepared(w.finish());
    }
    double memcpyFloor() const override { return 0.125; }
    double peakCeilingMiB() const override { return 3.0 * double(size_) / double(kMiB); }
};

class TwentyAttachments : public ParseCase
{
public:
    std::uint64_t prepare() override
    {
        path_ = bench::scratchPath("twenty-1mib.tnef");
        std::uint64_t seed = 2;
        bench::TnefStreamWriter w(path_);
        writeMessageHeader(w);
        for (int i = 0; i < 20; ++i)
            writeAttachment(w, "part" + std::to_string(i) + ".bin", kMiB, seed);
        expectedAttachments_ = 20;
        return prepared(w.finish());
    }
};

class CompressedRtfBody : public ParseCase
{
public:
    std::uint64_t prepare() override
    {
        path_ = bench::scratchPath("rtf-8mib.tnef");
        const std::string value = lzfu::compress(bench::sampleRtf(8 * kMiB));
        bench::TnefStreamWriter w(path_);
        writeMessageHeader(w, {bench::TnefStreamWriter::binaryProperty(0x1009, value)});
        expectRtf_ = true;
        return prepared(w.finish());
    }
};

// Counted in output bytes.
class DecompressRtf : public bench::Case
{
public:
    std::uint64_t prepare() override
    {
        const std::string rtf = bench::sampleRtf(8 * kMiB);
        raw_ = std::uint32_t(rtf.size());
        compressed_ = lzfu::compressStream(rtf);
        tnef_set_diagnostics(nullptr);
        return raw_;
    }
    void run() override
    {
        unsigned char* out = rtf_decompress(reinterpret_cast<const unsigned char*>(compressed_.data()),
                                            compressed_.size(), raw_);
        if (!out)
            throw std::runtime_error("rtf_decompress failed");
        bench::keep(out[raw_ - 1]);
        std::free(out);
    }
    double memcpyFloor() const override { return 0.05; }

private:
    std::string compressed_;
    std::uint32_t raw_ = 0;
};

} // namespace

// The 64 MiB case runs first so that nothing before it has raised the peak,
// even where the peak cannot be reset.
QUORVIA_BENCH_CASE(OneLargeAttachment, "tnef_parse 64 MiB attachment", 10);
QUORVIA_BENCH_CASE(TwentyAttachments, "tnef_parse 20 x 1 MiB attachments", 20);
QUORVIA_BENCH_CASE(CompressedRtfBody, "tnef_parse 8 MiB compressed RTF body", 30);
QUORVIA_BENCH_CASE(DecompressRtf, "rtf_decompress 8 MiB", 40);
