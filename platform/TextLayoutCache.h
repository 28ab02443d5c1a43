// Laid-out texts kept for reuse: captions and labels are drawn again on every render, and laying
// out a text costs more than drawing its glyphs (much more on 16-bit targets).
#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>
#include <unordered_map>

class TextLayoutCache {
 public:
  // The layout of Text in Font; valid until the next call.
  const QStaticText& Layout(const QString& Text, const QFont& Font);
  void Clear() { FLayouts.clear(); }

 private:
  // Bounded so that a stream of distinct texts cannot grow it without limit.
  static constexpr size_t kMaxLayouts = 1024;
  std::unordered_map<QString, QStaticText> FLayouts;
};
