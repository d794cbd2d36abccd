#pragma once
// A service of the platform that tests replace in-process (the shell, the disk probe, the
// entry remover): calls reach the replacement while one is set, else the platform's own object.
#include <atomic>

namespace kelvane {

template <class Service, class Platform>
class Replaceable {
 public:
  Service& get() const {
    static Platform platform;  // made at the first call
    Service* replacement = replacement_.load();
    return replacement != nullptr ? *replacement : platform;
  }
  // Returns the previous replacement; nullptr restores the platform's.
  Service* replace(Service* replacement) { return replacement_.exchange(replacement); }

 private:
  std::atomic<Service*> replacement_{nullptr};
};

}  // namespace kelvane
