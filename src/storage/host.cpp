#include "storage/host.hpp"

#include <chrono>
#include <thread>

namespace tx::storage {

void StorageHost::pause_half_second() {
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

}  // namespace tx::storage
