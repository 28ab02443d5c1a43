// Reading a landmark block of 100,000 elements with 26 attributes each: find the block, read every
// element, take every attribute by name. Velmo's readers (from a memory stream and from a text
// file on disk) side by side with pugixml parsing the same bytes and taking the same attributes.
//   build-base2/bench/bench_xml --benchmark_min_time=2
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <pugixml.hpp>
#include <string>
#include <vector>

#include "KVL_streams.h"

namespace {

constexpr int kLandmarks = 100'000;
constexpr std::array<const char*, 26> kNames = {
    "lat",     "long",    "alti",   "class",    "usertag", "colorfg", "colorbg",  "size",
    "transp",  "dir",     "leng",   "element",  "id",      "date",    "captext",  "capsize",
    "capfnm",  "capfgcol", "capbgcol", "captransp", "capdir", "capdx", "capdy",    "caphal",
    "capval",  "capfst"};

std::string LandmarkLine(int i) {
  const std::string n = std::to_string(i);
  const std::array<std::string, 26> values = {
      "47." + n, "8." + n, std::to_string(i % 4000), std::to_string(i % 256), n,
      "00FF00" + n.substr(0, 2), "FFFFFF", "7", i % 2 ? "true" : "false", std::to_string(i % 360),
      "12", "circle", "LM" + n, "20240131120000", "Landmark number " + n + " at the river", "10",
      "Arial", "000000", "FFFFFF", "true", "0", "5", "-5", "1", "2", "0101"};
  std::string line = "<landmark";
  for (size_t k = 0; k < kNames.size(); ++k) {
    line += std::string(" ") + kNames[k] + "=\"" + values[k] + "\"";
  }
  return line + "/>";
}

// The block as a writer lays it out, lines ending in CR LF.
const std::string& BlockBytes() {
  static const std::string bytes = [] {
    std::string text = std::string(kXmlDeclaration) + "\r\n\r\n" +
                       XmlCommentLine("TGeoMap Landmarks") + "\r\n" +
                       XmlBlockStartLine("gmlandmarks", "bench") + "\r\n";
    for (int i = 0; i < kLandmarks; ++i) text += LandmarkLine(i) + "\r\n";
    return text + XmlEndTag("gmlandmarks") + "\r\n";
  }();
  return bytes;
}

// Reads the block from any source the way the landmark reader does; returns attribute bytes taken.
// ByName: one GetXmlAttribute per name; otherwise the element's attributes are taken apart once.
template <class Source>
size_t ReadBlock(Source& In, bool ByName) {
  size_t taken = 0;
  if (!FindDataBlock(In, "gmlandmarks", "bench")) return 0;
  std::string attr;
  std::string content;
  TXmlAttributes attributes;
  for (int32_t index;
       (index = ReadXmlElement(In, kGeoMapXmlTags, attr, content)) != xtGmLandmarksEnd &&
       index != xtInvalidTag;) {
    if (index != xtLandmark) continue;
    if (ByName) {
      for (const char* name : kNames) taken += GetXmlAttribute(attr, name).size();
    } else {
      attributes.Assign(attr);
      for (const char* name : kNames) taken += attributes.Value(name).size();
    }
  }
  return taken;
}

void Finish(benchmark::State& State, size_t Taken) {
  if (Taken == 0) State.SkipWithError("block not read");
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * BlockBytes().size()));
  State.counters["attr_bytes"] = static_cast<double>(Taken);
}

void BM_VelmoMemoryStream(benchmark::State& State) {
  TMemoryStream stream(std::vector<uint8_t>(BlockBytes().begin(), BlockBytes().end()));
  size_t taken = 0;
  for (auto _ : State) {
    stream.SetPosition(0);
    taken = ReadBlock(stream, State.range(0) != 0);
    benchmark::DoNotOptimize(taken);
  }
  Finish(State, taken);
}

void BM_VelmoTextFile(benchmark::State& State) {
  const std::string path =
      (std::filesystem::temp_directory_path() / "velmo_bench_xml.xml").string();
  std::ofstream(path, std::ios::binary) << BlockBytes();
  size_t taken = 0;
  for (auto _ : State) {
    TTextFile file(path, tmRead);
    taken = ReadBlock(file, State.range(0) != 0);
    benchmark::DoNotOptimize(taken);
  }
  std::filesystem::remove(path);
  Finish(State, taken);
}

void BM_PugixmlAttributeByName(benchmark::State& State) {
  size_t taken = 0;
  for (auto _ : State) {
    taken = 0;
    pugi::xml_document doc;
    doc.load_buffer(BlockBytes().data(), BlockBytes().size());
    const pugi::xml_node block = doc.find_child_by_attribute("gmlandmarks", "id", "bench");
    for (pugi::xml_node mark : block.children("landmark")) {
      for (const char* name : kNames) taken += std::strlen(mark.attribute(name).value());
    }
    benchmark::DoNotOptimize(taken);
  }
  Finish(State, taken);
}

void BM_PugixmlAttributeWalk(benchmark::State& State) {
  size_t taken = 0;
  for (auto _ : State) {
    taken = 0;
    pugi::xml_document doc;
    doc.load_buffer(BlockBytes().data(), BlockBytes().size());
    const pugi::xml_node block = doc.find_child_by_attribute("gmlandmarks", "id", "bench");
    for (pugi::xml_node mark : block.children("landmark")) {
      for (pugi::xml_attribute a : mark.attributes()) taken += std::strlen(a.value());
    }
    benchmark::DoNotOptimize(taken);
  }
  Finish(State, taken);
}

}  // namespace

// Argument 0: attributes taken apart once per element (TXmlAttributes), 1: GetXmlAttribute per
// name.
BENCHMARK(BM_VelmoMemoryStream)->ArgName("by_name")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VelmoTextFile)->ArgName("by_name")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlAttributeByName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PugixmlAttributeWalk)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
