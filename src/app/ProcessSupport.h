#pragma once

#include <QString>

class QObject;
class QWidget;

namespace orvane {

// Makes SIGINT, SIGTERM and SIGHUP end the event loop normally, so pending writes are flushed and
// the single-instance lock is released as on any other quit, but without asking anything: no window
// gets a close event, and whatever a window would have asked about (unsaved text, writes the disk
// refuses) is kept aside by the model's end. The handler only writes to a pipe; the quit happens on
// the main thread.
void quitOnTerminationSignals(QObject *application);

// Once the window is on screen and has settled, writes a PNG of it to `path` (atomically: the file
// appears complete or not at all). Failures are reported on standard error.
void writeScreenshotAfterStart(QWidget *window, const QString &path);

// Prints "first-frame" on standard output once the shown window's first frame has been painted:
// what start-up benchmarks wait for.
void reportFirstFrame(QWidget *window);

} // namespace orvane
