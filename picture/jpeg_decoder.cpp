#include "picture/jpeg_decoder.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "picture/text_exception.h"

namespace ovlet::picture {

// libjpeg reports fatal errors through an exit routine that must not return.
// C++ exceptions must not cross libjpeg's C frames, so the routine records the
// message and long-jumps back to the wrapper function that called libjpeg;
// the wrapper returns false and DecodeImage raises the error in C++ after the
// library call has ended. The wrappers keep no objects with destructors, so
// the long jump skips nothing that needs cleaning up.

namespace {

// A progressive file can repeat scans over the whole picture at almost no
// cost in bytes; beyond this many scans it is refused instead of decoded for
// minutes.
constexpr int kMaxScans = 1000;
// Each scan makes libjpeg visit every block of the components it covers,
// whether or not the scan carries data for them. All scans together may
// visit each block of the picture this many times on average: about five
// for a usual progressive file; more only costs time. Small pictures count
// as kMinWorkBlocks blocks, so their scans are limited only by kMaxScans.
constexpr std::int64_t kMaxScanPasses = 32;
constexpr std::int64_t kMinWorkBlocks = 4096;
// Huffman-coded data needs at least a bit for each block of each component;
// a picture larger than CPicDecoder::kSmallPicturePixels with fewer bytes
// than that is cut short or lies about its size.
constexpr std::int64_t kBlocksPerByte = 8;

struct JpegErrorManager {
    jpeg_error_mgr pub;  // first, so libjpeg's pointer to it is ours too
    std::jmp_buf jump;
    int code;
    char message[256];
};

// The fake end-of-image marker handed to libjpeg when the data runs out.
const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};

void ErrorExit(j_common_ptr cinfo) {
    auto* errors = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    std::snprintf(errors->message, sizeof errors->message, "%s\n", text);
    errors->code = DECERR_UNSUPPORTED;
    std::longjmp(errors->jump, 1);
}

// Warnings never stop a decode and are not shown.
void OutputMessage(j_common_ptr) {}

void ProgressMonitor(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) {
        return;
    }
    auto* decompressor = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (decompressor->input_scan_number > kMaxScans) {
        auto* errors = reinterpret_cast<JpegErrorManager*>(cinfo->err);
        std::snprintf(errors->message, sizeof errors->message, "JPEG image has more than %d scans.", kMaxScans);
        errors->code = DECERR_FORMAT;
        std::longjmp(errors->jump, 1);
    }
}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Called only when libjpeg has used up all the data: a file cut short ends
// as if its image were complete, libjpeg filling in what is missing.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kFakeEoi;
    cinfo->src->bytes_in_buffer = sizeof kFakeEoi;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) {
        return;
    }
    jpeg_source_mgr* src = cinfo->src;
    if (static_cast<unsigned long>(count) > src->bytes_in_buffer) {
        src->next_input_byte += src->bytes_in_buffer;
        src->bytes_in_buffer = 0;
    } else {
        src->next_input_byte += count;
        src->bytes_in_buffer -= static_cast<std::size_t>(count);
    }
}

// What the scans of a picture make libjpeg do, found by walking its marker
// segments before any scan is decoded.
struct ScanWork {
    int scans = 0;
    std::int64_t blockVisits = 0;  // blocks of the components of each scan, summed
};

std::int64_t ComponentBlocks(const jpeg_component_info& component) {
    return std::int64_t{component.width_in_blocks} * component.height_in_blocks;
}

// Walks the segments from the start-of-image marker on, skipping segment
// bodies by their length and entropy-coded data up to the next marker, as
// libjpeg does. It never fails: data it cannot follow ends the walk.
ScanWork CountScans(const std::uint8_t* data, std::size_t size, const jpeg_decompress_struct& cinfo) {
    ScanWork work;
    std::size_t pos = 2;  // after the start-of-image marker
    while (pos + 1 < size) {
        const void* next = std::memchr(data + pos, 0xFF, size - pos);
        if (!next) {
            break;
        }
        pos = static_cast<std::size_t>(static_cast<const std::uint8_t*>(next) - data);
        if (pos + 1 >= size) {
            break;
        }
        unsigned marker = data[pos + 1];
        if (marker == 0x00 || marker == 0xFF || (marker >= 0xD0 && marker <= 0xD8) || marker == 0x01) {
            // A stuffed zero or a restart inside scan data, a fill byte, or a
            // marker without a segment.
            pos += marker == 0xFF ? 1 : 2;
            continue;
        }
        if (marker == 0xD9 || pos + 3 >= size) {
            break;  // end of image
        }
        std::size_t length = (std::size_t{data[pos + 2]} << 8) | data[pos + 3];
        if (marker == 0xDA && pos + 4 < size) {
            ++work.scans;
            unsigned count = data[pos + 4];
            for (unsigned i = 0; i < count && pos + 5 + 2 * i < size; ++i) {
                int id = data[pos + 5 + 2 * i];
                for (int c = 0; c < cinfo.num_components; ++c) {
                    if (cinfo.comp_info[c].component_id == id) {
                        work.blockVisits += ComponentBlocks(cinfo.comp_info[c]);
                        break;
                    }
                }
            }
        }
        if (length < 2) {
            break;
        }
        pos += 2 + length;
    }
    return work;
}

// Bytes of libjpeg's own buffers for a picture: the coefficients of the
// whole picture when it has several scans (progressive or multi-scan files),
// and a few rows of samples per component.
std::int64_t LibjpegWorkBytes(const jpeg_decompress_struct& cinfo) {
    std::int64_t bytes = std::int64_t{cinfo.image_width} * cinfo.num_components * 64;
    bool multipleScans = cinfo.progressive_mode || cinfo.comps_in_scan < cinfo.num_components;
    if (multipleScans) {
        for (int c = 0; c < cinfo.num_components; ++c) {
            const jpeg_component_info& component = cinfo.comp_info[c];
            auto roundUp = [](std::int64_t n, std::int64_t m) { return m > 0 ? (n + m - 1) / m * m : n; };
            bytes += roundUp(component.width_in_blocks, component.h_samp_factor) *
                     roundUp(component.height_in_blocks, component.v_samp_factor) * std::int64_t{sizeof(JBLOCK)};
        }
    }
    return bytes;
}

// The picture's colour model as libjpeg delivers it.
enum class JpegOutput { Grey, Colour, Cmyk };

// CMYK lines arrive as C, M, Y, K bytes; they are turned into blue, green,
// red, 255 in place. Adobe's files store the inks inverted (255 = no ink).
void ConvertCmykLine(std::uint8_t* line, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, line += 4) {
        unsigned c = line[0], m = line[1], y = line[2], k = line[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        line[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
        line[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
        line[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
        line[3] = 255;
    }
}

}  // namespace

struct CJPEGDecoder::State {
    jpeg_decompress_struct decompressor;
    JpegErrorManager errors;
    jpeg_source_mgr sourceManager;
    jpeg_progress_mgr progress;
};

namespace {

// Returns the decompressor to its idle state when a picture ends, however it
// ends: after a finished picture this does nothing, after a failed one it
// readies libjpeg for the next.
class AbortGuard {
public:
    explicit AbortGuard(jpeg_decompress_struct* decompressor) : cinfo(decompressor) {}
    ~AbortGuard() { jpeg_abort_decompress(cinfo); }
    AbortGuard(const AbortGuard&) = delete;
    AbortGuard& operator=(const AbortGuard&) = delete;

private:
    jpeg_decompress_struct* cinfo;
};

[[noreturn]] void RaiseRecorded(const JpegErrorManager& errors) {
    RaiseDecoderError(errors.code != 0 ? errors.code : DECERR_UNSUPPORTED, errors.message);
}

// Each step below is one stretch of libjpeg calls under its own setjmp. They
// return false after a libjpeg error, with the message in the error manager.

bool ReadJpegHeader(jpeg_decompress_struct* cinfo, JpegErrorManager* errors) {
    if (setjmp(errors->jump)) {
        return false;
    }
    jpeg_read_header(cinfo, TRUE);
    return true;
}

bool CalcOutputDimensions(jpeg_decompress_struct* cinfo, JpegErrorManager* errors) {
    if (setjmp(errors->jump)) {
        return false;
    }
    jpeg_calc_output_dimensions(cinfo);
    return true;
}

bool StartDecompress(jpeg_decompress_struct* cinfo, JpegErrorManager* errors) {
    if (setjmp(errors->jump)) {
        return false;
    }
    jpeg_start_decompress(cinfo);
    return true;
}

bool ReadLines(jpeg_decompress_struct* cinfo, JpegErrorManager* errors, std::uint8_t** lines, bool cmyk,
               bool inverted) {
    if (setjmp(errors->jump)) {
        return false;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        JDIMENSION first = cinfo->output_scanline;
        JDIMENSION count = jpeg_read_scanlines(cinfo, lines + first, cinfo->output_height - first);
        if (count == 0) {
            // Only a suspending source returns no lines, and ours never
            // suspends; stop rather than loop.
            std::snprintf(errors->message, sizeof errors->message, "JPEG data stalled.\n");
            errors->code = DECERR_FORMAT;
            return false;
        }
        if (cmyk) {
            for (JDIMENSION i = 0; i < count; ++i) {
                ConvertCmykLine(lines[first + i], cinfo->output_width, inverted);
            }
        }
    }
    jpeg_finish_decompress(cinfo);
    return true;
}

}  // namespace

CJPEGDecoder::CJPEGDecoder() : state(std::make_unique<State>()) {
    State& s = *state;
    s.decompressor.err = jpeg_std_error(&s.errors.pub);
    s.errors.pub.error_exit = ErrorExit;
    s.errors.pub.output_message = OutputMessage;
    s.errors.code = 0;
    s.errors.message[0] = '\0';
    // jpeg_CreateDecompress may fail only for lack of memory; its error exit
    // needs a jump target like every other call.
    if (setjmp(s.errors.jump)) {
        throw std::bad_alloc();
    }
    jpeg_create_decompress(&s.decompressor);
    s.progress.progress_monitor = ProgressMonitor;
    s.decompressor.progress = &s.progress;
    s.sourceManager.init_source = InitSource;
    s.sourceManager.fill_input_buffer = FillInputBuffer;
    s.sourceManager.skip_input_data = SkipInputData;
    s.sourceManager.resync_to_restart = jpeg_resync_to_restart;
    s.sourceManager.term_source = TermSource;
}

CJPEGDecoder::~CJPEGDecoder() {
    jpeg_destroy_decompress(&state->decompressor);
}

void CJPEGDecoder::StartPicture() {
    State& s = *state;
    s.errors.code = 0;
    s.errors.message[0] = '\0';
    s.sourceManager.next_input_byte = source->GetReadPointer();
    s.sourceManager.bytes_in_buffer = static_cast<std::size_t>(source->GetBytesLeft());
    s.decompressor.src = &s.sourceManager;
    if (!ReadJpegHeader(&s.decompressor, &s.errors)) {
        RaiseRecorded(s.errors);
    }
}

PictureHeader CJPEGDecoder::ReadImageHeader() {
    jpeg_decompress_struct* cinfo = &state->decompressor;
    AbortGuard guard(cinfo);
    StartPicture();
    return {PictureFormat::Jpeg, static_cast<std::int32_t>(cinfo->image_width),
            static_cast<std::int32_t>(cinfo->image_height), cinfo->num_components * cinfo->data_precision};
}

namespace {

// The largest reduction libjpeg offers (1/8, 1/4, 1/2) that still leaves the
// picture at least minWidth x minHeight, or 1 for none; 0 x 0 asks for none.
unsigned ReductionFor(const jpeg_decompress_struct& cinfo, std::int64_t minWidth, std::int64_t minHeight) {
    if (minWidth <= 0 && minHeight <= 0) {
        return 1;
    }
    for (unsigned denominator : {8u, 4u, 2u}) {
        std::int64_t width = (std::int64_t{cinfo.image_width} + denominator - 1) / denominator;
        std::int64_t height = (std::int64_t{cinfo.image_height} + denominator - 1) / denominator;
        if (width >= minWidth && height >= minHeight) {
            return denominator;
        }
    }
    return 1;
}

}  // namespace

void CJPEGDecoder::CheckWork(std::int64_t outputWidth, std::int64_t outputHeight, int depth) {
    const jpeg_decompress_struct& cinfo = state->decompressor;
    std::int64_t pictureBlocks = 0;
    for (int c = 0; c < cinfo.num_components; ++c) {
        pictureBlocks += ComponentBlocks(cinfo.comp_info[c]);
    }
    // Before anything is decoded or allocated: the picture's size with
    // libjpeg's own buffers, the data it comes with, and the work its scans
    // ask for. A reduced decode takes the same pictures a full one takes, so
    // the size checked is the picture's own.
    std::int64_t workBytes = LibjpegWorkBytes(cinfo);
    CheckPictureSize(cinfo.image_width, cinfo.image_height, depth, workBytes);
    RequireData(std::int64_t{cinfo.image_width} * cinfo.image_height,
                source->GetBytesLeft() >= pictureBlocks / kBlocksPerByte);
    ScanWork work = CountScans(source->GetReadPointer(), static_cast<std::size_t>(source->GetBytesLeft()), cinfo);
    if (work.scans > kMaxScans) {
        char text[64];
        std::snprintf(text, sizeof text, "JPEG image has more than %d scans.", kMaxScans);
        RaiseDecoderError(DECERR_FORMAT, text);
    }
    if (work.blockVisits > kMaxScanPasses * std::max(pictureBlocks, kMinWorkBlocks)) {
        RaiseDecoderError(DECERR_FORMAT, "JPEG image has more scans than its size warrants.");
    }
    // libjpeg's own large buffers are held to what is left of the budget.
    std::int64_t left = maxBitmapBytes - BitmapBytesFor(outputWidth, outputHeight, depth);
    state->decompressor.mem->max_memory_to_use = static_cast<long>(std::max<std::int64_t>(left, 1));
}

void CJPEGDecoder::DecodeImage() {
    State& s = *state;
    jpeg_decompress_struct* cinfo = &s.decompressor;
    JpegErrorManager* errors = &s.errors;
    AbortGuard guard(cinfo);
    StartPicture();
    if (fastMode) {
        cinfo->do_fancy_upsampling = FALSE;
    }
    cinfo->dct_method = JDCT_FLOAT;

    // Grey pictures come out as one byte per pixel, or as blue, green, red,
    // 255 when 32 bits are asked for. Colour pictures always come out at 32
    // bits in the four-byte blue-green-red layout, RGB-coded files included.
    // CMYK and YCCK files come out as inks and are converted line by line.
    JpegOutput output = JpegOutput::Colour;
    if (cinfo->jpeg_color_space == JCS_GRAYSCALE) {
        output = JpegOutput::Grey;
        ChooseDestDepth(8);
        cinfo->out_color_space = requestedDepth == 32 ? JCS_EXT_BGRA : JCS_GRAYSCALE;
    } else if (cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK) {
        output = JpegOutput::Cmyk;
        ChooseDestDepth(32);
        cinfo->out_color_space = JCS_CMYK;
    } else {
        ChooseDestDepth(32);
        cinfo->out_color_space = JCS_EXT_BGRA;
    }
    int depth = (output == JpegOutput::Grey && requestedDepth != 32) ? 8 : 32;

    // A reduced picture comes straight from the coefficients: 1/8 takes only
    // each block's average, and no full-size pixel is ever made.
    cinfo->scale_num = 1;
    cinfo->scale_denom = ReductionFor(*cinfo, minOutputWidth, minOutputHeight);
    if (!CalcOutputDimensions(cinfo, errors)) {
        RaiseRecorded(*errors);
    }
    std::int64_t width = cinfo->output_width;
    std::int64_t height = cinfo->output_height;
    CheckWork(width, height, depth);

    if (!StartDecompress(cinfo, errors)) {
        RaiseRecorded(*errors);
    }
    int expectedComponents = depth == 8 ? 1 : 4;
    if (cinfo->output_components != expectedComponents || std::int64_t{cinfo->output_width} != width ||
        std::int64_t{cinfo->output_height} != height) {
        RaiseDecoderError(DECERR_UNSUPPORTED, "Unsupported color conversion request\n");
    }

    bitmap->Create(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height),
                   static_cast<std::uint16_t>(depth), false);
    if (height == 0) {
        return;
    }
    if (!ReadLines(cinfo, errors, bitmap->GetLineTable(), output == JpegOutput::Cmyk,
                   cinfo->saw_Adobe_marker != FALSE)) {
        RaiseRecorded(*errors);
    }
}

}  // namespace ovlet::picture
