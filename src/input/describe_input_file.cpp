// An input file's record for the run's audit trail: its canonical path, and
// the size and SHA-256 of its bytes, digested by OpenSSL's EVP interface.
#include <openssl/evp.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "irteq/error.hpp"
#include "irteq/files.hpp"

namespace irteq {

namespace {

[[noreturn]] void fail(const std::string& name, const std::string& reason) {
  throw Error("cannot read " + name + " for the run's record: " + reason,
              {.code = ErrorCode::file_error, .source = name});
}

std::string hexadecimal(const unsigned char* bytes, unsigned size) {
  static constexpr char digits[] = "0123456789abcdef";
  std::string text;
  for (unsigned i = 0; i < size; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0xf];
  }
  return text;
}

}  // namespace

InputFileRecord describe_input_file(const std::filesystem::path& name, std::string role) {
  InputFileRecord record{.role = std::move(role), .name = name.string(), .path = {}};
  std::error_code error;
  const std::filesystem::path path = std::filesystem::canonical(name, error);
  if (error) fail(record.name, error.message());
  record.path = path.string();
  // A pipe gave its bytes to the reader already; opened again it would wait for a writer.
  if (!std::filesystem::is_regular_file(path, error)) return record;

  errno = 0;
  std::ifstream in(path, std::ios::in | std::ios::binary);
  if (!in) fail(record.name, errno != 0 ? std::strerror(errno) : "cannot be opened");
  const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> digest(EVP_MD_CTX_new(), EVP_MD_CTX_free);
  if (!digest || EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) != 1) fail(record.name, "no SHA-256");
  std::uintmax_t size = 0;
  std::array<char, 1 << 16> block;
  while (in) {
    in.read(block.data(), block.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > 0 && EVP_DigestUpdate(digest.get(), block.data(), got) != 1) fail(record.name, "SHA-256 failed");
    size += got;
  }
  if (in.bad()) fail(record.name, "read error");
  std::array<unsigned char, EVP_MAX_MD_SIZE> value;
  unsigned length = 0;
  if (EVP_DigestFinal_ex(digest.get(), value.data(), &length) != 1) fail(record.name, "SHA-256 failed");
  record.size = size;
  record.sha256 = hexadecimal(value.data(), length);
  return record;
}

}  // namespace irteq
