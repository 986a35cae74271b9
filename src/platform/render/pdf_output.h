// The PDF file itself: numbered objects written in the order given, deflated streams, the xref table and
// trailer. Used by the PDF writer only. Every byte written feeds the document /ID, so equal content gives
// equal files, whether streams are compressed here or on the background thread.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/render/output_file.h"
#include "platform/render/pdf_buffer.h"

struct isal_zstream;
struct libdeflate_compressor;

namespace vob::render {

class PdfOutput {
 public:
  // Writes the header to a temporary file next to target. With in_background, objects are queued and a second
  // thread compresses and writes them in the order they were given, so the caller goes on with the next page
  // meanwhile; the file is the same either way.
  // copy_bytes, when set, sees every byte written, in order, on the thread that writes it.
  PdfOutput(std::string target, bool in_background,
            std::function<void(std::string_view bytes)> copy_bytes = nullptr);
  // The same into file, which may be an output in memory.
  PdfOutput(OutputFile file, bool in_background,
            std::function<void(std::string_view bytes)> copy_bytes = nullptr);
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
  // Waits for what is queued, then writes the xref table and the trailer and renames the file onto the
  // target. REQUIRES: every reserved object written.
  // Each Write* and Finish throws RenderError when the file cannot be written; in the background that is
  // reported by the next call after the failure.
  void Finish(uint32_t catalog, uint32_t info);

  const std::string& target() const { return file_.target(); }

 private:
  enum class JobKind : uint8_t { kObject, kStream, kPageStream, kRawStream };
  struct Job {
    JobKind kind = JobKind::kObject;
    uint32_t number = 0;
    std::string dictionary, data;
  };

  void Submit(JobKind kind, uint32_t number, std::string_view dictionary, std::string_view data);
  void WorkInBackground();
  void StopBackground();

  // The file side: on the background thread while it runs, else on the caller's.
  void Write(JobKind kind, uint32_t number, std::string_view dictionary, std::string_view data);
  std::string_view Deflate(std::string_view data, bool is_fast);
  void Emit(std::string_view bytes);
  void BeginObject(uint32_t number);

  OutputFile file_;
  std::function<void(std::string_view bytes)> copy_bytes_;
  uint32_t reserved_ = 0;  // object numbers handed out; the caller's side
  uint64_t offset_ = 0;
  std::vector<uint64_t> offsets_;  // by object number; 0 until written
  std::unique_ptr<isal_zstream> fast_deflater_;
  std::unique_ptr<libdeflate_compressor, void (*)(libdeflate_compressor*)> thorough_deflater_;
  std::unique_ptr<uint8_t[]> deflated_;
  size_t deflated_capacity_ = 0;
  uint32_t crc_ = 0, adler_ = 1;  // of every byte written: the document /ID
  PdfBuffer header_;

  // The queue between the two sides. Finished jobs come back as spares, so pages cost no allocations.
  std::mutex mutex_;
  std::condition_variable has_work_, has_room_;
  std::deque<std::unique_ptr<Job>> queue_;
  std::vector<std::unique_ptr<Job>> spares_;
  size_t queued_bytes_ = 0;
  bool is_closing_ = false, is_abandoned_ = false;
  std::exception_ptr failure_;
  std::thread worker_;
};

}  // namespace vob::render
