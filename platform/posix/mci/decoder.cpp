// libmpg123 behind the Decoder class. Gapless trimming is on: where the encoder wrote its delay
// and padding into the file (the LAME header), they are cut off, and the length counts only the
// music; without that header a song is all the samples of all its frames.
#include "platform/posix/mci/decoder.h"

#include <fcntl.h>
#include <mpg123.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/mci.h"

namespace mci::posix {
namespace {

// Resynchronising after a damaged frame looks this far ahead (bytes).
constexpr long kResyncLimit = 64 * 1024;
// Bytes read from the file at a time.
constexpr std::size_t kReadBuffer = 64 * 1024;
// Decoder errors in a row without any sample in between that end the song.
constexpr int kMaxErrorsInARow = 8;

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}

}  // namespace

// The file under the decoder, read through a buffer of its own: the decoder asks for every frame
// header and body separately, and measuring a long song would otherwise take two system calls
// per frame.
struct Decoder::Handle {
    int fd = -1;
    mpg123_handle* mh = nullptr;
    std::vector<unsigned char> buffer = std::vector<unsigned char>(kReadBuffer);
    off_t bufferStart = 0;  // file offset of buffer[0]
    std::size_t bufferFilled = 0;
    off_t position = 0;  // where the decoder reads next

    ~Handle() {
        if (mh != nullptr) {
            mpg123_close(mh);
            mpg123_delete(mh);
        }
        if (fd >= 0) close(fd);
    }

    static mpg123_ssize_t Read(void* self, void* out, std::size_t bytes) {
        auto* h = static_cast<Handle*>(self);
        auto* to = static_cast<unsigned char*>(out);
        std::size_t copied = 0;
        while (copied < bytes) {
            const off_t end = h->bufferStart + static_cast<off_t>(h->bufferFilled);
            if (h->position < h->bufferStart || h->position >= end) {
                const ssize_t got = pread(h->fd, h->buffer.data(), h->buffer.size(), h->position);
                if (got < 0 && errno == EINTR) continue;
                if (got < 0) return copied > 0 ? static_cast<mpg123_ssize_t>(copied) : -1;
                h->bufferStart = h->position;
                h->bufferFilled = static_cast<std::size_t>(got);
                if (got == 0) break;  // end of file, or the file was cut short
                continue;
            }
            const std::size_t offset = static_cast<std::size_t>(h->position - h->bufferStart);
            const std::size_t n = std::min(bytes - copied, h->bufferFilled - offset);
            std::memcpy(to + copied, h->buffer.data() + offset, n);
            copied += n;
            h->position += static_cast<off_t>(n);
        }
        return static_cast<mpg123_ssize_t>(copied);
    }

    static off_t Seek(void* self, off_t offset, int whence) {
        auto* h = static_cast<Handle*>(self);
        off_t base = 0;
        if (whence == SEEK_CUR) {
            base = h->position;
        } else if (whence == SEEK_END) {
            struct stat info {};
            if (fstat(h->fd, &info) != 0) return -1;
            base = info.st_size;
        } else if (whence != SEEK_SET) {
            return -1;
        }
        if (offset < 0 && base + offset < 0) return -1;
        h->position = base + offset;
        return h->position;
    }
};

std::uint32_t Decoder::Open(const std::string& path, std::unique_ptr<Decoder>& decoder) {
    InitLibraryOnce();
    auto handle = std::make_unique<Handle>();
    // Without blocking: opening a named pipe would otherwise wait for a writer for good.
    handle->fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (handle->fd < 0) {
        return errno == ENOENT || errno == ENOTDIR || errno == ENAMETOOLONG ? MCIERR_FILE_NOT_FOUND
                                                                            : MCIERR_FILE_READ;
    }
    struct stat info {};
    if (fstat(handle->fd, &info) != 0) return MCIERR_FILE_READ;
    if (!S_ISREG(info.st_mode)) return MCIERR_INVALID_FILE;  // directories, pipes, devices

    int error = MPG123_OK;
    handle->mh = mpg123_new(nullptr, &error);
    if (handle->mh == nullptr) return MCIERR_OUT_OF_MEMORY;
    mpg123_handle* mh = handle->mh;
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS, 0.0);
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_param(mh, MPG123_RESYNC_LIMIT, kResyncLimit, 0.0);
    if (mpg123_replace_reader_handle(mh, &Handle::Read, &Handle::Seek, nullptr) != MPG123_OK ||
        mpg123_open_handle(mh, handle.get()) != MPG123_OK) {
        return MCIERR_INVALID_FILE;
    }

    long rate = 0;
    int channels = 0, encoding = 0;
    if (mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        (channels != 1 && channels != 2)) {
        // A read error looks like garbage to the decoder; tell them apart by reading once.
        char probe = 0;
        if (pread(handle->fd, &probe, 1, 0) < 0) return MCIERR_FILE_READ;
        return MCIERR_INVALID_FILE;
    }
    // Keep exactly this format for the whole song, so the output never has to change.
    mpg123_format_none(mh);
    if (mpg123_format(mh, rate, channels, MPG123_ENC_SIGNED_16) != MPG123_OK) {
        return MCIERR_INVALID_FILE;
    }
    decoder.reset(new Decoder(std::move(handle)));
    decoder->rate_ = rate;
    decoder->channels_ = channels;
    return 0;
}

Decoder::Decoder(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
Decoder::~Decoder() = default;

std::int64_t Decoder::Length() {
    if (length_ == -2) {
        length_ = -1;
        if (mpg123_scan(handle_->mh) == MPG123_OK) {
            const off_t samples = mpg123_length(handle_->mh);
            if (samples >= 0) length_ = samples;
        }
    }
    return length_;
}

bool Decoder::Seek(std::int64_t sample) {
    return mpg123_seek(handle_->mh, static_cast<off_t>(sample), SEEK_SET) >= 0;
}

std::size_t Decoder::Read(unsigned char* out, std::size_t bytes, bool& ended) {
    ended = false;
    std::size_t total = 0;
    int errors = 0;
    while (total < bytes) {
        std::size_t done = 0;
        const int result = mpg123_read(handle_->mh, out + total, bytes - total, &done);
        total += done;
        if (result == MPG123_DONE) {
            ended = true;
            break;
        }
        if (done > 0) {
            errors = 0;
            continue;
        }
        // No samples: a format note, a skipped damaged frame, or a file that went away.
        if (result == MPG123_NEED_MORE || ++errors >= kMaxErrorsInARow) {
            ended = true;  // the file went away under us, or it is damaged beyond repair
            break;
        }
    }
    return total;  // whole samples: the decoder never splits one
}

}  // namespace mci::posix
