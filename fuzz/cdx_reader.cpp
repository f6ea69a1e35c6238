// Arbitrary bytes as an index file: opening, walking, seeking, verifying and
// changing it must end in a result or a CdxError, never a crash or a hang.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "storage/cdx_index.hpp"

namespace {

char scratch_name[64];  // plain bytes: still there when the exit handler runs

void remove_scratch() { ::unlink(scratch_name); }

const char* scratch_path() {
  if (!scratch_name[0]) {
    std::snprintf(scratch_name, sizeof scratch_name, "/tmp/fuzz_cdx_%d.cdx", static_cast<int>(::getpid()));
    std::atexit(remove_scratch);
  }
  return scratch_name;
}

void exercise(const std::string& path, tx::storage::CdxSharing sharing) {
  using namespace tx::storage;
  CdxIndex ix = CdxIndex::open(path, sharing);
  (void)ix.count();
  (void)ix.stamp();
  int n = 0;
  for (std::uint32_t r = ix.first(); r != 0 && n < 5000; r = ix.next()) ++n;
  for (std::uint32_t r = ix.last(); r != 0 && n < 10000; r = ix.prev()) ++n;
  const std::string probes[] = {"", "A", "1234", std::string(8, '\0'), std::string(300, 'z')};
  for (const std::string& p : probes) {
    ix.seek(p, SeekMode::Soft);
    ix.seek(p, SeekMode::Exact);
    ix.next();
  }
  ix.verify(64, [](std::uint32_t r, std::string& k) {
    k = std::to_string(r);
    return true;
  });
  for (std::uint32_t r = 1; r <= 40; ++r) ix.insert(std::to_string(r * 7919 % 1000), r);
  for (std::uint32_t r = 1; r <= 40; r += 2) ix.remove(std::to_string(r * 7919 % 1000), r);
  n = 0;
  for (std::uint32_t r = ix.first(); r != 0 && n < 5000; r = ix.next()) ++n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = scratch_path();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  if (size) std::fwrite(data, 1, size, f);
  std::fclose(f);
  try {
    // both ways of sharing: locks and mapped header, or deferred writes
    exercise(path, size % 2 ? tx::storage::CdxSharing::Shared : tx::storage::CdxSharing::Exclusive);
  } catch (const tx::storage::CdxError&) {
  }
  return 0;
}
