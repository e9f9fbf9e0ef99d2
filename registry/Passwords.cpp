// Argon2id password hashes through libsodium.
#include "registry/Passwords.h"

#include <sodium.h>

#include <stdexcept>

namespace velmora {

namespace {

void startSodium()
{
    static const int ready = sodium_init();
    if (ready < 0) throw std::runtime_error("The password library could not start");
}

}  // namespace

bool isPasswordHash(std::string_view stored)
{
    return stored.starts_with(crypto_pwhash_argon2id_STRPREFIX);
}

std::string hashPassword(std::string_view password)
{
    startSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str_alg(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                              crypto_pwhash_MEMLIMIT_INTERACTIVE, crypto_pwhash_ALG_ARGON2ID13) != 0)
        throw std::runtime_error("Out of memory while hashing the password");
    return out;
}

bool passwordMatches(std::string_view hash, std::string_view password)
{
    startSodium();
    if (!isPasswordHash(hash) || hash.size() >= crypto_pwhash_STRBYTES) return false;
    std::string terminated(hash);
    return crypto_pwhash_str_verify(terminated.c_str(), password.data(), password.size()) == 0;
}

void spendOneVerification(std::string_view password)
{
    // A hash of a text no login has, made with hashPassword's limits.
    static const char* const dummy =
        "$argon2id$v=19$m=65536,t=2,p=1$htpk9V3UhvQRACzmYPttGg$GRROLyDP4PstFuAHsjtaQDfR3SBeOE38dMZleL4oXdc";
    passwordMatches(dummy, password);
}

}  // namespace velmora
