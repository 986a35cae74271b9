// The viewer's server with the peer listing as its one report, for bench/viewer_bench.sh: prints the address
// as `vobreports view` does and serves until stopped. Every run of key "listing" reads LISTING.sqlite.
//
// Usage: viewer_listing LISTING.sqlite [MEMORY_MB]
#include <cstdio>
#include <iostream>
#include <string>

#include "cli/viewer/viewer_server.h"
#include "listing_report.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: %s LISTING.sqlite [MEMORY_MB]\n", argv[0]);
    return 2;
  }
  vob::cli::viewer::ViewerConfig config;
  config.defaults.database = argv[1];
  if (argc == 3) config.memory_limit_bytes = std::stoull(argv[2]) << 20;
  config.prepare = [](const vob::cli::RunOptions& options, vob::rptManager&) {
    return vob::engine::MakeReport<vob::bench::rptListing>(options.database);
  };
  vob::cli::viewer::ViewerServer server(std::move(config));
  server.Bind();
  std::cout << "viewer_listing: serving at " << server.Url() << std::endl;
  server.Listen();
  return 0;
}
