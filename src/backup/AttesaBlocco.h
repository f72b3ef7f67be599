#pragma once

#include <chrono>

// Whether to try again after the engine answered `rc`: only a real lock (another connection in
// the middle of a write) is worth another try, and only until a deadline counted from the first
// lock met. Anything else, a damaged page or a disk that fails to read, is an answer.
class AttesaBlocco {
public:
    explicit AttesaBlocco(std::chrono::milliseconds limite)
        : limite_(limite) {}

    static bool EBlocco(int rc);
    // True when `rc` is a lock and the deadline has not passed yet.
    bool Riprova(int rc);
    // The last try went through: the next lock starts a deadline of its own.
    void Azzera() { inAttesa_ = false; }
    std::chrono::milliseconds Limite() const { return limite_; }

private:
    std::chrono::milliseconds limite_;
    bool inAttesa_ = false;
    std::chrono::steady_clock::time_point scadenza_;
};
