// SHA-256 over bytes given piece by piece, as lower-case hex.
#pragma once

#include <sodium.h>

#include <string>
#include <string_view>

namespace velmora {

class Sha256 {
public:
    Sha256() { crypto_hash_sha256_init(&state_); }
    void add(std::string_view bytes)
    {
        crypto_hash_sha256_update(&state_, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }
    std::string hexDigest()
    {
        unsigned char digest[crypto_hash_sha256_BYTES];
        crypto_hash_sha256_final(&state_, digest);
        static const char digits[] = "0123456789abcdef";
        std::string out;
        for (unsigned char b : digest) {
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out;
    }

private:
    crypto_hash_sha256_state state_;
};

inline std::string sha256Hex(std::string_view bytes)
{
    Sha256 sum;
    sum.add(bytes);
    return sum.hexDigest();
}

}  // namespace velmora
