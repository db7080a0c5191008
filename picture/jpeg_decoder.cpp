#include "picture/jpeg_decoder.h"

// jpeglib.h needs FILE and size_t declared before it.
#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <new>

#include <jerror.h>
#include <jpeglib.h>

#include "picture/text_exception.h"

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

    // Refuse oversized pictures before libjpeg allocates anything for them;
    // its own working memory (whole-image buffers of progressive files) is
    // held to the same budget.
    std::int64_t width = cinfo->image_width;
    std::int64_t height = cinfo->image_height;
    CheckPictureSize(width, height, depth);
    cinfo->mem->max_memory_to_use = static_cast<long>(maxBitmapBytes);

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
