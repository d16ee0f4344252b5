// VB's 1-based string functions over UTF-8 text, counting characters (code
// points), so that handler code on Czech texts reads like the original.
#pragma once

#include <string>

namespace vb {

inline const std::string vbCr = "\r";
inline const std::string vbCrLf = "\r\n";

long Len(const std::string& s);
std::string Left(const std::string& s, long n);
std::string Right(const std::string& s, long n);
// Mid(s, start) and Mid(s, start, length); start is 1-based, error 5 below 1.
std::string Mid(const std::string& s, long start);
std::string Mid(const std::string& s, long start, long length);
// 1-based position of `what` in `s` from `start`, 0 when absent.
long InStr(long start, const std::string& s, const std::string& what);
long InStr(const std::string& s, const std::string& what);
std::string Trim(const std::string& s);
std::string UCase(const std::string& s);
std::string LCase(const std::string& s);

}  // namespace vb
