// The codecs whole: Base64 and RC4 over texts, bytes and files, and the code pages they
// convert through. Link xpkit::codecs (pkg-config xpkit-codecs); none of the kit is needed.
#pragma once
#include "xpkit/Error.h"
#include "xpkit/codecs/Base64Bytes.h"
#include "xpkit/codecs/Base64Kernel.h"
#include "xpkit/codecs/CodecKernel.h"
#include "xpkit/codecs/RC4_Calc.h"
#include "xpkit/codecs/b64.h"
#include "xpkit/codepage/Ascii.h"
#include "xpkit/codepage/CodePage.h"
#include "xpkit/codepage/PrintableName.h"
#include "xpkit/codepage/Utf.h"
#include "xpkit/files/FileError.h"
