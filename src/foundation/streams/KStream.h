#pragma once
#include <cstdint>

#include "foundation/core/KObject.h"
#include "foundation/text/KString.h"

// The byte-stream interface behind every source and sink of the library:
// files, memory blocks, host state blocks, compressed data and hexadecimal
// text. Streams stack: a transforming stream wraps another one and forwards
// to it. Every operation a stream cannot perform raises
// "Service \"<operation>\" is not implemented.".
class KStream : public KObject {
public:
    enum class SeekOrigin : int { Start = 0, Current = 1, End = 2 };
    // Outcome of reading one line into a byte buffer.
    enum class LineStatus : int {
        Complete = 0,   // a line feed, a zero byte or the end of data ended the line
        Continues = 1,  // the buffer filled up before the line ended
        End = 2,        // nothing was left to read
    };

    // The stream this one wraps.
    virtual KStream* Substream();
    virtual void Write(const void* data, int count);
    // Advances an output stream by `count` zero bytes.
    virtual void WriteFiller(int count);
    // Answers the number of bytes read, 0 at the end.
    virtual int Read(void* buffer, int count);
    // Reads one line into `buffer` (at least 2 bytes), skipping carriage
    // returns; stores at most size - 1 bytes and always zero-terminates.
    virtual LineStatus ReadLine(char* buffer, int size);
    // The text's UTF-8 bytes, without terminator.
    virtual void WriteText(const KString& text);
    // The text's UTF-8 bytes and a line feed.
    virtual void WriteLine(const KString& text);
    // The base implementation can only move forward, reading and dropping the
    // bytes in between.
    virtual void Seek(std::int64_t offset, SeekOrigin origin);
    virtual std::int64_t Position();
    virtual void Flush();
    virtual bool AtEnd();
    virtual void Truncate(std::int64_t size);
    virtual std::int64_t Size();
    virtual bool IsValid();

    // Reads exactly `count` bytes or raises "Could not read required data from stream.".
    void ReadRequired(void* buffer, int count);
    // Reads one line, each byte widened as a signed 8-bit value; false only
    // when nothing was read because the stream had ended.
    bool ReadTextLine(KString& line);
    // As ReadTextLine, raising "Could not load a line from stream." at the end.
    KString ReadRequiredLine();

protected:
    [[noreturn]] static void RaiseNotImplemented(const char* service);
    [[noreturn]] static void RaiseInvalidOrigin();
    static void RequireLineBuffer(const char* buffer, int size);
    // The line rule shared by every stream: bytes come from `nextByte(byte)`
    // (false when the data ends); carriage returns are dropped; a line feed
    // or a zero byte ends the line.
    template <class NextByte>
    static LineStatus AssembleLine(char* buffer, int size, NextByte nextByte) {
        RequireLineBuffer(buffer, size);
        int stored = 0;
        LineStatus status = LineStatus::Continues;
        while (stored < size - 1) {
            char byte;
            if (!nextByte(byte)) {
                status = stored == 0 ? LineStatus::End : LineStatus::Complete;
                break;
            }
            if (byte == '\r') continue;
            if (byte == '\n' || byte == 0) {
                status = LineStatus::Complete;
                break;
            }
            buffer[stored++] = byte;
        }
        buffer[stored] = 0;
        return status;
    }
};
