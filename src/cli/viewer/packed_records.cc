// Records as bytes: section, group value and cells, each value with its type, so that the exporters see the
// very values the run bound (a Currency stays a Currency, a date a date). Blocks of 256 KB are deflated.
#include "cli/viewer/packed_records.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string_view>

namespace vob::cli::viewer {
namespace {

constexpr size_t kBlockBytes = size_t{256} << 10;

void PutNumber(std::string& out, uint64_t value) {
  while (value >= 0x80) {
    out += static_cast<char>((value & 0x7F) | 0x80);
    value >>= 7;
  }
  out += static_cast<char>(value);
}

void PutText(std::string& out, std::string_view text) {
  PutNumber(out, text.size());
  out += text;
}

template <typename T>
void PutRaw(std::string& out, T value) {
  char bytes[sizeof(T)];
  std::memcpy(bytes, &value, sizeof(T));
  out.append(bytes, sizeof(T));
}

void PutVariant(std::string& out, const vb::Variant* value) {
  if (value == nullptr) {
    out += static_cast<char>(0xFF);
    return;
  }
  out += static_cast<char>(value->type());
  switch (value->type()) {
    case vb::VarType::kBoolean:
      out += static_cast<char>(value->boolean());
      break;
    case vb::VarType::kInteger:
      PutRaw(out, value->integer());
      break;
    case vb::VarType::kLong:
      PutRaw(out, value->long_value());
      break;
    case vb::VarType::kSingle:
      PutRaw(out, value->single());
      break;
    case vb::VarType::kDouble:
      PutRaw(out, value->dbl());
      break;
    case vb::VarType::kCurrency:
      PutRaw(out, value->currency().raw());
      break;
    case vb::VarType::kDate:
      PutRaw(out, value->date_serial());
      break;
    case vb::VarType::kString:
      PutText(out, value->str());
      break;
    default:  // Empty, Null
      break;
  }
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool done() const { return at_ >= bytes_.size(); }
  uint64_t Number() {
    uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
      const auto byte = static_cast<uint8_t>(Take(1)[0]);
      value |= static_cast<uint64_t>(byte & 0x7F) << shift;
      if ((byte & 0x80) == 0) return value;
    }
  }
  std::string Text() { return std::string(Take(Number())); }
  template <typename T>
  T Raw() {
    T value;
    std::memcpy(&value, Take(sizeof(T)).data(), sizeof(T));
    return value;
  }
  // False for "no value" (a null pointer when recorded).
  bool Variant(vb::Variant& value) {
    const auto type = static_cast<uint8_t>(Take(1)[0]);
    if (type == 0xFF) return false;
    switch (static_cast<vb::VarType>(type)) {
      case vb::VarType::kNull:
        value = vb::Variant::Null();
        break;
      case vb::VarType::kBoolean:
        value = vb::Variant(Take(1)[0] != 0);
        break;
      case vb::VarType::kInteger:
        value = vb::Variant(Raw<int16_t>());
        break;
      case vb::VarType::kLong:
        value = vb::Variant(static_cast<int>(Raw<int32_t>()));
        break;
      case vb::VarType::kSingle:
        value = vb::Variant(Raw<float>());
        break;
      case vb::VarType::kDouble:
        value = vb::Variant(Raw<double>());
        break;
      case vb::VarType::kCurrency:
        value = vb::Variant(vb::Currency::FromRaw(Raw<int64_t>()));
        break;
      case vb::VarType::kDate:
        value = vb::Variant::Date(Raw<double>());
        break;
      case vb::VarType::kString:
        value = vb::Variant(Text());
        break;
      default:
        value = vb::Variant();
    }
    return true;
  }

 private:
  std::string_view Take(size_t size) {
    if (size > bytes_.size() - at_) throw std::logic_error("packed records cut short");
    std::string_view taken = bytes_.substr(at_, size);
    at_ += size;
    return taken;
  }
  std::string_view bytes_;
  size_t at_ = 0;
};

}  // namespace

void PackedRecords::Begin(const engine::DocumentInfo& info, const engine::RecordLayout& layout) {
  std::lock_guard lock(mutex_);
  info_ = info;
  layout_ = layout;
}

void PackedRecords::AddRecord(const engine::Record& record) {
  std::lock_guard lock(mutex_);
  PutNumber(open_, static_cast<uint64_t>(record.section));
  PutVariant(open_, record.group_value);
  PutNumber(open_, record.cells.size());
  for (const engine::RecordCell& cell : record.cells) {
    PutVariant(open_, cell.value);
    PutText(open_, cell.text ? *cell.text : std::string());
    PutText(open_, cell.output_format ? *cell.output_format : std::string());
    open_ += static_cast<char>((cell.is_text_set ? 1 : 0) | (cell.is_visible ? 2 : 0));
  }
  if (open_.size() >= kBlockBytes) Seal();
}

void PackedRecords::End() {
  std::lock_guard lock(mutex_);
  Seal();
}

void PackedRecords::Seal() {
  if (open_.empty()) return;
  std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> compressor(
      libdeflate_alloc_compressor(4), libdeflate_free_compressor);
  Block block{std::string(libdeflate_deflate_compress_bound(compressor.get(), open_.size()), '\0'),
              open_.size()};
  block.deflated.resize(libdeflate_deflate_compress(compressor.get(), open_.data(), open_.size(),
                                                    block.deflated.data(), block.deflated.size()));
  block.deflated.shrink_to_fit();
  bytes_ += sizeof(Block) + block.deflated.capacity();
  blocks_.push_back(std::move(block));
  open_.clear();
  open_.shrink_to_fit();
}

size_t PackedRecords::bytes() const {
  std::lock_guard lock(mutex_);
  return bytes_ + open_.capacity();
}

void PackedRecords::Replay(engine::RecordSink& sink) const {
  std::lock_guard lock(mutex_);
  sink.Begin(info_, layout_);
  std::unique_ptr<libdeflate_decompressor, void (*)(libdeflate_decompressor*)> decompressor(
      libdeflate_alloc_decompressor(), libdeflate_free_decompressor);
  std::vector<vb::Variant> values;
  std::vector<std::string> texts, formats;
  std::vector<engine::RecordCell> cells;
  for (const Block& block : blocks_) {
    std::string bytes(block.size, '\0');
    if (libdeflate_deflate_decompress(decompressor.get(), block.deflated.data(), block.deflated.size(),
                                      bytes.data(), bytes.size(), nullptr) != LIBDEFLATE_SUCCESS) {
      throw std::logic_error("packed records do not inflate");
    }
    Reader in(bytes);
    while (!in.done()) {
      const auto section = static_cast<engine::SectionId>(in.Number());
      vb::Variant group_value;
      const bool has_group_value = in.Variant(group_value);
      const size_t count = in.Number();
      values.assign(count, vb::Variant());
      texts.resize(count);
      formats.resize(count);
      cells.resize(count);
      for (size_t i = 0; i < count; ++i) {
        const bool has_value = in.Variant(values[i]);
        texts[i] = in.Text();
        formats[i] = in.Text();
        const auto flags = static_cast<uint8_t>(in.Raw<char>());
        cells[i] = {has_value ? &values[i] : nullptr, &texts[i], &formats[i], (flags & 1) != 0,
                    (flags & 2) != 0};
      }
      sink.AddRecord({section, cells, has_group_value ? &group_value : nullptr});
    }
  }
  sink.End();
}

}  // namespace vob::cli::viewer
