#include "KVL_kvlbase.h"

#include <algorithm>

std::string ComponentMessage(const std::string& name, const std::string& reason) {
  return "Component \"" + name + "\": " + reason;
}

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
  // Children unlink themselves from FComponents as they go, so take the list first.
  std::vector<TComponent*> owned;
  owned.swap(FComponents);
  for (TComponent* child : owned) {
    child->FOwner = nullptr;
    delete child;
  }
  if (FOwner) {
    auto& siblings = FOwner->FComponents;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
}
