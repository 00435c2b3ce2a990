#include "platform/speicher.h"

#include <QSemaphore>
#include <QThreadPool>
#include <memory>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

void GrosseBloeckeImHeap() {
#ifdef __GLIBC__
  static std::once_flag einmal;
  std::call_once(einmal, [] {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
  });
#endif
}

void ZeichenThreadsBereithalten() {
  QThreadPool* pool = QThreadPool::globalInstance();
  pool->setExpiryTimeout(-1);
  // The fills' parts need little stack.
  pool->setStackSize(1024 * 1024);
  // Each task waits until all have started, so that each gets a thread of its own. A
  // thread that cannot be had now is not waited for long; its task, when it runs later,
  // still finds the semaphores.
  struct Semaphoren {
    QSemaphore gestartet;
    QSemaphore weiter;
  };
  const auto s = std::make_shared<Semaphoren>();
  const int anzahl = pool->maxThreadCount();
  for (int i = 0; i < anzahl; ++i)
    pool->start([s] {
      s->gestartet.release();
      s->weiter.acquire();
    });
  s->gestartet.tryAcquire(anzahl, 2000);
  s->weiter.release(anzahl);
}
