// Object bookkeeping and stream compression for the PDF writer.
// One z_stream is reset for every stream, and its output buffer only grows, so pages cost no allocations.
#include "platform/render/pdf_output.h"

#include <algorithm>
#include <utility>

#include "platform/render/render_error.h"

namespace vob::render {

PdfOutput::PdfOutput(std::string target, int compression_level) : file_(std::move(target)) {
  if (deflateInit(&zlib_, compression_level) != Z_OK) {
    throw RenderError("cannot start compression for " + file_.target());
  }
  offsets_.push_back(0);  // object 0 is the head of the free list
  // The binary comment tells transfer programs that the file is not text.
  Emit("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n");
}

PdfOutput::~PdfOutput() {
  deflateEnd(&zlib_);
}

void PdfOutput::Emit(std::string_view bytes) {
  auto data = reinterpret_cast<const Bytef*>(bytes.data());
  crc_ = static_cast<uint32_t>(crc32_z(crc_, data, bytes.size()));
  adler_ = static_cast<uint32_t>(adler32_z(adler_, data, bytes.size()));
  file_.Write(bytes.data(), bytes.size());
  offset_ += bytes.size();
}

uint32_t PdfOutput::Reserve() {
  offsets_.push_back(0);
  return static_cast<uint32_t>(offsets_.size() - 1);
}

void PdfOutput::BeginObject(uint32_t number) {
  offsets_.at(number) = offset_;
  header_.Clear();
  header_.Int(number) << " 0 obj\n";
  Emit(header_.view());
}

void PdfOutput::WriteObject(uint32_t number, std::string_view body) {
  BeginObject(number);
  Emit(body);
  Emit("\nendobj\n");
}

void PdfOutput::WriteRawStream(uint32_t number, std::string_view dictionary, std::string_view data) {
  BeginObject(number);
  header_.Clear();
  header_ << "<<" << dictionary << "/Length ";
  header_.Int(static_cast<int64_t>(data.size())) << ">>\nstream\n";
  Emit(header_.view());
  Emit(data);
  Emit("\nendstream\nendobj\n");
}

void PdfOutput::WriteStream(uint32_t number, std::string_view dictionary, std::string_view data) {
  size_t bound = deflateBound(&zlib_, data.size()) + 64;
  if (bound > deflated_capacity_) {
    deflated_capacity_ = std::max(bound, deflated_capacity_ * 2);
    deflated_ = std::make_unique<unsigned char[]>(deflated_capacity_);
  }
  deflateReset(&zlib_);
  zlib_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  zlib_.avail_in = static_cast<uInt>(data.size());
  zlib_.next_out = deflated_.get();
  zlib_.avail_out = static_cast<uInt>(deflated_capacity_);
  if (deflate(&zlib_, Z_FINISH) != Z_STREAM_END) throw RenderError("cannot compress a stream of " + target());
  std::string_view compressed(reinterpret_cast<const char*>(deflated_.get()),
                              deflated_capacity_ - zlib_.avail_out);

  BeginObject(number);
  header_.Clear();
  header_ << "<<" << dictionary << "/Filter/FlateDecode/Length ";
  header_.Int(static_cast<int64_t>(compressed.size())) << ">>\nstream\n";
  Emit(header_.view());
  Emit(compressed);
  Emit("\nendstream\nendobj\n");
}

void PdfOutput::Finish(uint32_t catalog, uint32_t info) {
  uint64_t xref_offset = offset_;
  // The /ID comes from the content, not from a clock: equal documents are equal files.
  uint64_t length = offset_;
  uint32_t objects = static_cast<uint32_t>(offsets_.size());
  PdfBuffer trailer;
  trailer << "xref\n0 ";
  trailer.Int(objects) << "\n0000000000 65535 f \n";
  for (uint32_t number = 1; number < objects; ++number) {
    if (offsets_[number] == 0) {
      throw RenderError("object " + std::to_string(number) + " of " + target() + " was never written");
    }
    char entry[21];
    uint64_t value = offsets_[number];
    for (int i = 9; i >= 0; --i, value /= 10) entry[i] = static_cast<char>('0' + value % 10);
    std::string_view rest = " 00000 n \n";
    std::copy(rest.begin(), rest.end(), entry + 10);
    trailer << std::string_view(entry, 20);
  }
  trailer << "trailer\n<</Size ";
  trailer.Int(objects) << "/Root ";
  trailer.Ref(catalog) << "/Info ";
  trailer.Ref(info) << "/ID[<";
  trailer.Hex(crc_, 8).Hex(adler_, 8).Hex(static_cast<uint32_t>(length), 8).Hex(objects, 8) << "><";
  trailer.Hex(crc_, 8).Hex(adler_, 8).Hex(static_cast<uint32_t>(length), 8).Hex(objects, 8)
      << ">]>>\nstartxref\n";
  trailer.Int(static_cast<int64_t>(xref_offset)) << "\n%%EOF\n";
  Emit(trailer.view());
  file_.Commit();
}

}  // namespace vob::render
