#include "rtf/plain_text_extractor.h"

#include "common/codepage.h"
#include "rtf/rtf_token.h"

#include <QStringView>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace rtf {
namespace {

class PlainTextReader
{
public:
    explicit PlainTextReader(const QByteArray& rtf)
        : data_(rtf.constData())
        , size_(rtf.size())
    {
    }

    QString read()
    {
        while (pos_ < size_) {
            const char c = data_[pos_++];
            if (c == '{') {
                flush();
                starPending_ = false;
                skippingStack_.push_back(skipping_);
                continue;
            }
            if (c == '}') {
                flush();
                starPending_ = false;
                if (skippingStack_.empty()) {
                    skipping_ = false;
                } else {
                    skipping_ = skippingStack_.back();
                    skippingStack_.pop_back();
                }
                continue;
            }
            if (skipping_)
                continue;
            if (c == '\r' || c == '\n') {
                flush();
                starPending_ = false;
                continue;
            }
            if (c == '\\') {
                readEscape();
                continue;
            }
            flush();
            starPending_ = false;
            text_.append(QChar::fromLatin1(c));
        }
        flush();
        return text_.trimmed();
    }

private:
    void readEscape()
    {
        if (pos_ >= size_) {
            starPending_ = false;
            return;
        }
        const char next = data_[pos_];
        if (next == '\\' || next == '{' || next == '}') {
            ++pos_;
            flush();
            starPending_ = false;
            text_.append(QChar::fromLatin1(next));
            return;
        }
        if (next == '*') {
            ++pos_;
            starPending_ = true;
            return;
        }
        if (next == '\'') {
            ++pos_;
            starPending_ = false;
            if (size_ - pos_ < 2) {
                // Cut short by the end of input: ignored.
                pos_ = size_;
                return;
            }
            bool ok = false;
            const QString digits = QString::fromLatin1(data_ + pos_, 2);
            const ushort value = digits.toUShort(&ok, 16);
            pos_ += 2;
            if (ok)
                pendingBytes_.push_back(static_cast<char>(value & 0xFF));
            return;
        }
        if (!isLetter(next)) {
            ++pos_;
            starPending_ = false;
            return;
        }
        readWord();
    }

    void readWord()
    {
        const qsizetype nameBegin = pos_;
        while (pos_ < size_ && isLetter(data_[pos_]))
            ++pos_;
        const QByteArray name(data_ + nameBegin, pos_ - nameBegin);

        bool negative = false;
        if (pos_ < size_ && data_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        bool hasDigits = false;
        std::int64_t value = 0;
        const std::int64_t cap = std::numeric_limits<std::int64_t>::max() / 10 - 10;
        while (pos_ < size_ && isDigit(data_[pos_])) {
            hasDigits = true;
            if (value < cap)
                value = value * 10 + (data_[pos_] - '0');
            ++pos_;
        }
        if (negative)
            value = -value;
        if (pos_ < size_ && data_[pos_] == ' ')
            ++pos_;

        if (starPending_) {
            starPending_ = false;
            skipping_ = true;
            return;
        }
        if (name == "fonttbl" || name == "colortbl" || name == "stylesheet" || name == "info" || name == "pict") {
            skipping_ = true;
        } else if (name == "ansicpg") {
            if (hasDigits)
                codePage_ = value;
        } else if (name == "uc") {
            if (hasDigits)
                unicodeSkip_ = value < 0 ? 0 : value;
        } else if (name == "par" || name == "line") {
            flush();
            if (!text_.endsWith(QLatin1Char('\n')))
                text_.append(QLatin1Char('\n'));
        } else if (name == "tab") {
            flush();
            text_.append(QLatin1Char('\t'));
        } else if (name == "u") {
            if (hasDigits) {
                flush();
                text_.append(QChar(static_cast<char16_t>(static_cast<std::uint64_t>(value) & 0xFFFF)));
                skipFallback();
            }
        }
    }

    // A skipped backslash takes the character after it, a skipped \' its two
    // hex digits as well.
    void skipFallback()
    {
        for (std::int64_t n = 0; n < unicodeSkip_ && pos_ < size_; ++n) {
            if (data_[pos_] != '\\') {
                ++pos_;
                continue;
            }
            if (pos_ + 1 < size_ && data_[pos_ + 1] == '\'')
                pos_ = qMin(size_, pos_ + 4);
            else
                pos_ = qMin(size_, pos_ + 2);
        }
    }

    void flush()
    {
        if (pendingBytes_.empty())
            return;
        std::u16string decoded;
        const bool strict = codePage_ >= 1 && codePage_ != 1252 && codePage_ <= std::numeric_limits<std::uint32_t>::max();
        if (strict && codepage::decodeStrict(static_cast<std::uint32_t>(codePage_), pendingBytes_.data(),
                                             pendingBytes_.size(), decoded)) {
            text_.append(QString::fromStdU16String(decoded));
        } else {
            for (char byte : pendingBytes_)
                text_.append(QChar(codepage::cp1252ToUnicode(static_cast<unsigned char>(byte))));
        }
        pendingBytes_.clear();
    }

    const char* data_;
    qsizetype size_;
    qsizetype pos_ = 0;
    QString text_;
    bool skipping_ = false;
    std::vector<bool> skippingStack_;
    bool starPending_ = false;
    std::int64_t codePage_ = 1252;
    std::int64_t unicodeSkip_ = 1;
    std::string pendingBytes_;
};

} // namespace

QString extractPlainText(const QByteArray& rtf)
{
    return PlainTextReader(rtf).read();
}

} // namespace rtf
