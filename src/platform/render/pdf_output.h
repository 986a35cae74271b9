// The PDF file itself: numbered objects written as they are ready, deflated streams, the xref table and
// trailer. Used by the PDF writer only. Every byte written feeds the document /ID, so equal content gives
// equal files.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/render/output_file.h"
#include "platform/render/pdf_buffer.h"

namespace vob::render {

class PdfOutput {
 public:
  // Writes the header to a temporary file next to target; compression_level is zlib's 0 to 9.
  PdfOutput(std::string target, int compression_level);
  ~PdfOutput();
  PdfOutput(const PdfOutput&) = delete;
  PdfOutput& operator=(const PdfOutput&) = delete;

  // A new object number, to refer to before the object is written.
  uint32_t Reserve();
  // "n 0 obj <body> endobj". REQUIRES: number reserved and not yet written.
  void WriteObject(uint32_t number, std::string_view body);
  // A stream deflated here; dictionary holds the entries besides /Length and /Filter.
  void WriteStream(uint32_t number, std::string_view dictionary, std::string_view data);
  // A stream written as given; dictionary names its own filter if it has one (JPEG's /DCTDecode).
  void WriteRawStream(uint32_t number, std::string_view dictionary, std::string_view data);
  // The xref table and the trailer, then the rename onto the target. REQUIRES: every reserved object written.
  void Finish(uint32_t catalog, uint32_t info);

  const std::string& target() const { return file_.target(); }

 private:
  void Emit(std::string_view bytes);
  void BeginObject(uint32_t number);

  OutputFile file_;
  uint64_t offset_ = 0;
  std::vector<uint64_t> offsets_;  // by object number; 0 until written
  z_stream zlib_{};
  std::unique_ptr<unsigned char[]> deflated_;
  size_t deflated_capacity_ = 0;
  uint32_t crc_ = 0, adler_ = 1;  // of every byte written: the document /ID
  PdfBuffer header_;
};

}  // namespace vob::render
