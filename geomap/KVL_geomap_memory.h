// Allocation failures of the map control become its own error with the component's name.
#pragma once

#include <new>
#include <string>

#include "KVL_kvlbase.h"

// Runs Allocate; std::bad_alloc becomes EKVLGeoMapError Component "Name": insufficient memory.
template <typename F>
void AllocateOrFail(const std::string& Name, F&& Allocate) {
  try {
    Allocate();
  } catch (const std::bad_alloc&) {
    throw EKVLGeoMapError(ComponentMessage(Name, "insufficient memory"));
  }
}
