// b64_file encode|decode IN OUT: the Base64 codec's encodefile or decodefile, for the
// checks that run every writer as a program. Status 1 and the error when it fails.
#include <cstdio>
#include <string>

#include "xpkit/Error.h"
#include "xpkit/codecs/b64.h"

int main(int argc, char** argv) {
  const std::string way = argc == 4 ? argv[1] : "";
  if (way != "encode" && way != "decode") {
    std::fprintf(stderr, "usage: b64_file encode|decode IN OUT\n");
    return 2;
  }
  try {
    const xpkit::b64 codec;
    if (way == "encode") codec.encodefile(argv[2], argv[3]);
    else codec.decodefile(argv[2], argv[3]);
  } catch (const xpkit::Error& e) {
    std::fprintf(stderr, "b64_file: %s\n", e.what());
    return 1;
  }
  return 0;
}
