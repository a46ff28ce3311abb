// Small text helpers for command-line and control-channel values: numbers with
// SI suffixes ("100p", "10M") and "key=value,key=value" lists.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vna::sim {

// Parses a whole text as a number with an optional SI suffix (f p n u m k M G T).
// The suffix is case-sensitive: "m" is milli, "M" is mega.
bool ParseSi(const std::string& text, double& value);

// Parses a whole text as a plain integer.
bool ParseInt(const std::string& text, long& value);

// Splits "a=1,b=2" into pairs; an item without "=" gets an empty value.
// Only the first "=" of an item separates, so "end=r=75" gives ("end", "r=75").
std::vector<std::pair<std::string, std::string>> SplitKeys(const std::string& text);

// Splits at every occurrence of sep.
std::vector<std::string> Split(const std::string& text, char sep);

std::string Trim(const std::string& text);
std::string Lower(std::string text);

// printf-style formatting into a std::string.
std::string Format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

}  // namespace vna::sim
