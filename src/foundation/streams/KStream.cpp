#include "foundation/streams/KStream.h"

#include <algorithm>

#include "foundation/core/KException.h"
#include "foundation/text/KFormatter.h"
#include "foundation/text/Utf8.h"

namespace {

constexpr int kFillerPiece = 1024;
constexpr int kDiscardPiece = 1024;
constexpr int kTextPiece = 256;
constexpr int kLinePiece = 256;

}  // namespace

void KStream::RaiseNotImplemented(const char* service) {
    throw KException(KFormatter("Service \"{0}\" is not implemented.") << service);
}

void KStream::RaiseInvalidOrigin() { throw KException("Invalid seek origin."); }

void KStream::RequireLineBuffer(const char* buffer, int size) {
    // A one-byte buffer could never hold a character, and a caller looping
    // until the line ends would spin forever.
    if (!buffer || size < 2) throw KException("Line buffer is too small.");
}

KStream* KStream::Substream() { RaiseNotImplemented("return substream"); }

void KStream::Write(const void*, int) { RaiseNotImplemented("write to stream"); }

void KStream::WriteFiller(int count) {
    static constexpr char kZeros[kFillerPiece] = {};
    while (count > 0) {
        const int piece = std::min(count, kFillerPiece);
        Write(kZeros, piece);
        count -= piece;
    }
}

int KStream::Read(void*, int) { RaiseNotImplemented("read from stream"); }

KStream::LineStatus KStream::ReadLine(char* buffer, int size) {
    return AssembleLine(buffer, size, [this](char& byte) { return Read(&byte, 1) != 0; });
}

void KStream::WriteText(const KString& text) {
    // Encoded in pieces on the stack so that no UTF-8 copy of the text is made.
    char piece[kTextPiece + 4];
    int used = 0;
    KUtf8::Encoder encoder;
    for (int i = 0; i < text.Length(); ++i) {
        encoder.Feed(text[i], [&](char byte) { piece[used++] = byte; });
        if (used >= kTextPiece) {
            Write(piece, used);
            used = 0;
        }
    }
    if (used > 0) Write(piece, used);
}

void KStream::WriteLine(const KString& text) {
    WriteText(text);
    Write("\n", 1);
}

void KStream::Seek(std::int64_t offset, SeekOrigin origin) {
    const std::int64_t current = Position();
    std::int64_t target;
    switch (origin) {
        case SeekOrigin::Start: target = offset; break;
        case SeekOrigin::Current: target = current + offset; break;
        case SeekOrigin::End: target = Size() + offset; break;
        default: RaiseInvalidOrigin();
    }
    if (target < current) RaiseNotImplemented("backward seek in a stream");
    char discarded[kDiscardPiece];
    for (std::int64_t remaining = target - current; remaining > 0;) {
        const int got = Read(discarded, int(std::min<std::int64_t>(remaining, kDiscardPiece)));
        if (got == 0) break;
        remaining -= got;
    }
}

std::int64_t KStream::Position() { RaiseNotImplemented("get stream position"); }

void KStream::Flush() { RaiseNotImplemented("flush stream"); }

bool KStream::AtEnd() { RaiseNotImplemented("end of stream test"); }

void KStream::Truncate(std::int64_t) { RaiseNotImplemented("truncate stream"); }

std::int64_t KStream::Size() { RaiseNotImplemented("stream size detection"); }

bool KStream::IsValid() { return true; }

void KStream::ReadRequired(void* buffer, int count) {
    if (Read(buffer, count) < count) throw KException("Could not read required data from stream.");
}

bool KStream::ReadTextLine(KString& line) {
    line.Clear();
    char piece[kLinePiece];
    LineStatus status;
    bool first = true;
    do {
        status = ReadLine(piece, kLinePiece);
        if (first && status == LineStatus::End) return false;
        first = false;
        for (const char* p = piece; *p; ++p) line.Append(char16_t(static_cast<signed char>(*p)));
    } while (status == LineStatus::Continues);
    return true;
}

KString KStream::ReadRequiredLine() {
    KString line;
    if (!ReadTextLine(line)) throw KException("Could not load a line from stream.");
    return line;
}
