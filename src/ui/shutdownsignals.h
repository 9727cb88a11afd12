// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;

namespace barovista {

// Turns SIGTERM, SIGHUP and SIGINT (logout, kill, a closed terminal, Ctrl+C)
// into a Qt signal on the event loop. The handler itself only writes the
// signal's number into a pipe; everything else runs later, outside it.
// One instance at a time; the default handlers return when it goes.
// Elsewhere than on Unix it does nothing: there the session's end reaches
// the program through Qt's session management.
class ShutdownSignals : public QObject
{
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject *parent = nullptr);
    ~ShutdownSignals() override;

signals:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};

} // namespace barovista
