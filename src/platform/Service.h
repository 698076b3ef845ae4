// Service: how the system reaches an operating-system service. Each service is an
// interface with a real implementation (used unless something else is installed) and a
// test double that a test installs for its own duration with ScopedService.
#pragma once

#include <cassert>

namespace platform {

template <class Interface> class Service {
public:
    // The installed implementation, or the real one when none is installed.
    static Interface &get() { return installed_ ? *installed_ : Interface::real(); }
    static Interface *install(Interface *service)
    {
        Interface *previous = installed_;
        installed_ = service;
        return previous;
    }

private:
    static inline Interface *installed_ = nullptr;
};

// Installs a service for the lifetime of the scope and puts the previous one back.
template <class Interface> class ScopedService {
public:
    explicit ScopedService(Interface &service) : previous_(Service<Interface>::install(&service)) {}
    ~ScopedService() { Service<Interface>::install(previous_); }
    ScopedService(const ScopedService &) = delete;
    ScopedService &operator=(const ScopedService &) = delete;

private:
    Interface *previous_;
};

} // namespace platform
