// Filling and reading vectors in tests.
#pragma once

#include <cstdint>
#include <vector>

#include "KVL_vector.h"

template <typename V>
void Load(V& v, const std::vector<typename V::Elem>& values) {
  v.Resize(static_cast<int32_t>(values.size()));
  for (std::size_t i = 0; i < values.size(); ++i)
    v.SetElement(static_cast<int32_t>(i + 1), values[i]);
}

template <typename V>
std::vector<typename V::Elem> Values(const V& v) {
  return {v.Data(), v.Data() + v.NrOfElem()};
}
