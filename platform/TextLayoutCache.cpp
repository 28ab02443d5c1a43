#include "TextLayoutCache.h"

const QStaticText& TextLayoutCache::Layout(const QString& Text, const QFont& Font) {
  // The font key covers family, size, styles and style strategy (antialiasing).
  const QString key = Font.key() + QChar(0x1F) + Text;
  auto found = FLayouts.find(key);
  if (found != FLayouts.end()) return found->second;
  if (FLayouts.size() >= kMaxLayouts) FLayouts.clear();
  QStaticText layout(Text);
  layout.setTextFormat(Qt::PlainText);
  layout.setPerformanceHint(QStaticText::AggressiveCaching);
  layout.prepare(QTransform(), Font);
  return FLayouts.emplace(key, std::move(layout)).first->second;
}
