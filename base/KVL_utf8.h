// UTF-8 helpers for the routines that work per character. A byte that does not start a
// well-formed sequence counts as one character of its own.
#pragma once

#include <cstddef>
#include <string>

// Number of bytes (1..4) of the character that starts at Index (Index < Text.size()); 1 for a
// byte that does not start a well-formed sequence.
size_t Utf8CharLength(const std::string& Text, size_t Index);

// The code point of the well-formed sequence of Length bytes at Index.
char32_t Utf8Decode(const std::string& Text, size_t Index, size_t Length);

// Appends the UTF-8 form of CodePoint; U+FFFD for surrogates and values above U+10FFFF.
void Utf8Append(std::string& Out, char32_t CodePoint);
