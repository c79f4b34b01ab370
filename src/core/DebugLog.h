#pragma once
// The debug log, out.uni.txt: UTF-16LE with a byte-order mark, LF line ends,
// created afresh at every start. A line is written either always (Write) or
// only when the debug level read at start-up is at least the given level
// (WriteAt). Lines written while the log is closed are dropped.
//
// Any thread may write: each call formats on the caller's thread and writes
// and flushes the whole text under one lock, so lines never mix.

#include <string>
#include <string_view>

#include "core/Format.h"

namespace mirudex::dlog {

inline constexpr const char* kLogFileName = "out.uni.txt";
inline constexpr const char* kLevelFileName = "debug_level.dat";
// The documented range of levels is 0 .. kMaxDebugLevel.
inline constexpr int kMaxDebugLevel = 3;

// Creates the log and writes the byte-order mark. False when already open or
// when the file cannot be created.
bool Open(const std::string& path = kLogFileName);
bool Close();
bool IsOpen();

int Level();
void SetLevel(int level);
// Sets the level from debug_level.dat (read like C's %i: decimal, 0-octal,
// 0x-hex); level 0 and a warning line when the file cannot be opened.
void ReadLevel(const std::string& path = kLevelFileName);

void WriteText(std::u16string_view text);
void WriteTextAt(int level, std::u16string_view text);

template <typename... Args>
void Write(std::u16string_view format, const Args&... args)
{
    if (IsOpen())
        WriteText(Format(format, args...));
}

template <typename... Args>
void WriteAt(int level, std::u16string_view format, const Args&... args)
{
    if (IsOpen() && Level() >= level)
        WriteText(Format(format, args...));
}

// A format written in the code: its length is known without reading it, so
// a line the level leaves out costs nothing (searches write many).
template <size_t N, typename... Args>
void Write(const char16_t (&format)[N], const Args&... args)
{
    if (IsOpen())
        WriteText(Format(std::u16string_view(format, N - 1), args...));
}

template <size_t N, typename... Args>
void WriteAt(int level, const char16_t (&format)[N], const Args&... args)
{
    if (IsOpen() && Level() >= level)
        WriteText(Format(std::u16string_view(format, N - 1), args...));
}

}  // namespace mirudex::dlog
