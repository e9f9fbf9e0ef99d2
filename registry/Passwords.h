// Passwords stored as Argon2id hashes (libsodium's crypto_pwhash_str), and
// telling such a stored value from a password stored as plain text, which
// older databases hold and which keeps working.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Whether a stored UserPasswd value is a hash this program made.
bool isPasswordHash(std::string_view stored);
// A new hash of `password` (a fresh salt each time).
std::string hashPassword(std::string_view password);
// Whether `password` is the one `hash` was made from.
bool passwordMatches(std::string_view hash, std::string_view password);
// Takes as long as passwordMatches on a hash of this program's: a login
// that fails without a hash to check spends it, so that the time a failure
// takes does not tell which logins exist with hashes.
void spendOneVerification(std::string_view password);

}  // namespace velmora
