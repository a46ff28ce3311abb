#include "platform/sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QEventLoop>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/paths.h"
#include "platform/regular_file.h"
#include "platform/testhook.h"

namespace vna {

namespace {

// Loading the sample comes before its length; the margin after it.
constexpr int kLoadAllowanceMs = 2000;
constexpr int kMarginMs = 500;

// Each kind of trouble is said once, not on every spoken digit.
enum Trouble { kNoFile, kNoDevice, kNoPlayback, kTroubles };

void SayOnce(Trouble kind, const std::string& what) {
  static bool said[kTroubles] = {};
  if (said[kind]) return;
  said[kind] = true;
  std::fprintf(stderr, "vna: %s; voice output is silent\n", what.c_str());
}

uint32_t Le32(const unsigned char* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

int WavDurationMs(const std::string& path) {
  // A voice file that is a pipe or a device counts as missing.
  struct stat st {};
  const int fd = OpenRegularFile(path, O_RDONLY, st);
  if (fd < 0) return -1;
  std::FILE* f = fdopen(fd, "rb");
  if (!f) {
    close(fd);
    return -1;
  }
  unsigned char head[12];
  uint32_t byte_rate = 0;
  int result = -1;
  if (std::fread(head, 1, 12, f) == 12 && std::memcmp(head, "RIFF", 4) == 0 &&
      std::memcmp(head + 8, "WAVE", 4) == 0) {
    unsigned char chunk[8];
    while (std::fread(chunk, 1, 8, f) == 8) {
      const uint32_t size = Le32(chunk + 4);
      if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
        unsigned char fmt[16];
        if (std::fread(fmt, 1, 16, f) != 16) break;
        byte_rate = Le32(fmt + 8);
        if (std::fseek(f, static_cast<long>(size - 16 + (size & 1)), SEEK_CUR) != 0) break;
      } else if (std::memcmp(chunk, "data", 4) == 0) {
        if (byte_rate > 0) result = static_cast<int>(uint64_t{size} * 1000 / byte_rate);
        break;
      } else if (std::fseek(f, static_cast<long>(size + (size & 1)), SEEK_CUR) != 0) {
        break;
      }
    }
  }
  std::fclose(f);
  return result;
}

bool PlayWavSync(const std::string& path) {
  testhook::LogSound(path);
  const std::string host = HostPath(path);
  const int length_ms = WavDurationMs(host);
  if (length_ms < 0) {
    SayOnce(kNoFile, "cannot play \"" + host + "\" (missing or no WAV file)");
    return false;
  }
  if (!QCoreApplication::instance() || QMediaDevices::defaultAudioOutput().isNull()) {
    SayOnce(kNoDevice, "no audio output device");
    return false;
  }
  QSoundEffect effect;
  QEventLoop loop;
  bool started = false, failed = false;
  auto play_when_ready = [&] {
    if (effect.status() == QSoundEffect::Error) {
      failed = true;
      loop.quit();
    } else if (effect.status() == QSoundEffect::Ready && !started) {
      started = true;
      effect.play();
    }
  };
  QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, play_when_ready);
  QObject::connect(&effect, &QSoundEffect::playingChanged, &loop, [&] {
    if (started && !effect.isPlaying()) loop.quit();
  });
  QTimer limit;
  limit.setSingleShot(true);
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  effect.setSource(QUrl::fromLocalFile(QString::fromStdString(host)));
  play_when_ready();  // a sample already in the cache is ready at once
  if (!failed) {
    limit.start(kLoadAllowanceMs + length_ms + kMarginMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  effect.stop();
  if (failed) SayOnce(kNoPlayback, "cannot play \"" + host + "\"");
  return started && !failed;
}

}  // namespace vna
