// Wakes a thread that waits on its sockets without a timeout (an eventfd): a receiver with
// nothing pending sleeps until a datagram comes or it is told to stop.
#pragma once

class WakeSignal {
  public:
    WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;
    ~WakeSignal();

    void raise();
    void clear();
    int descriptor() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};
