#pragma once
// A 128-bit integer for exact decimal arithmetic on amounts (GCC and Clang extension).
namespace si {
__extension__ typedef __int128 Int128;
}  // namespace si
