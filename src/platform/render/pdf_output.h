// The PDF file itself: numbered objects written in the order given, deflated streams, the xref table and
// trailer. Used by the PDF writer only, on one thread. Every byte written feeds the document /ID, so equal
// content gives equal files.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/render/output_file.h"
#include "platform/render/pdf_buffer.h"

struct isal_zstream;
struct libdeflate_compressor;

namespace vob::render {

class PdfOutput {
 public:
  // Writes the header to a temporary file next to target.
  // copy_bytes, when set, sees every byte written, in order.
  explicit PdfOutput(std::string target, std::function<void(std::string_view bytes)> copy_bytes = nullptr);
  // The same into file, which may be an output in memory.
  explicit PdfOutput(OutputFile file, std::function<void(std::string_view bytes)> copy_bytes = nullptr);
  ~PdfOutput();
  PdfOutput(const PdfOutput&) = delete;
  PdfOutput& operator=(const PdfOutput&) = delete;

  // A new object number, to refer to before the object is written.
  uint32_t Reserve();
  // "n 0 obj <body> endobj". REQUIRES: number reserved and not yet written.
  void WriteObject(uint32_t number, std::string_view body);
  // A stream deflated here at libdeflate's default level (fonts, pictures: once a document); dictionary holds
  // the entries besides /Length and /Filter.
  void WriteStream(uint32_t number, std::string_view dictionary, std::string_view data);
  // The same at the fastest compression, for what every page writes (its content): on a listing, compressing
  // well would cost more than laying out the page, and buys only about a fifth of the bytes.
  void WritePageStream(uint32_t number, std::string_view dictionary, std::string_view data);
  // A stream written as given; dictionary names its own filter if it has one (JPEG's /DCTDecode).
  void WriteRawStream(uint32_t number, std::string_view dictionary, std::string_view data);
  // Writes the xref table and the trailer and renames the file onto the target. REQUIRES: every reserved
  // object written.
  // Each Write* and Finish throws RenderError when the file cannot be written.
  void Finish(uint32_t catalog, uint32_t info);

  const std::string& target() const { return file_.target(); }

 private:
  enum class JobKind : uint8_t { kObject, kStream, kPageStream, kRawStream };

  void Write(JobKind kind, uint32_t number, std::string_view dictionary, std::string_view data);
  std::string_view Deflate(std::string_view data, bool is_fast);
  void Emit(std::string_view bytes);
  void BeginObject(uint32_t number);

  OutputFile file_;
  std::function<void(std::string_view bytes)> copy_bytes_;
  uint32_t reserved_ = 0;  // object numbers handed out
  uint64_t offset_ = 0;
  std::vector<uint64_t> offsets_;  // by object number; 0 until written
  std::unique_ptr<isal_zstream> fast_deflater_;
  std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> written_once_deflater_;
  std::unique_ptr<uint8_t[]> deflated_;
  size_t deflated_capacity_ = 0;
  uint32_t crc_ = 0, adler_ = 1;  // of every byte written: the document /ID
  PdfBuffer header_;
};

}  // namespace vob::render
