#include "zelgen/library_error_tap.h"

#include <iostream>

namespace zelgen {

LibraryErrorTap::LibraryErrorTap() : original_(std::cerr.rdbuf()) {
    std::cerr.rdbuf(this);
}

LibraryErrorTap::~LibraryErrorTap() {
    std::cerr.flush();
    std::cerr.rdbuf(original_);
}

std::string LibraryErrorTap::takeLastLine(std::thread::id thread) {
    const std::lock_guard<std::mutex> guard(mutex_);
    const auto found = last_.find(thread);
    if (found == last_.end()) {
        return "";
    }
    std::string line = std::move(found->second);
    last_.erase(found);
    return line;
}

std::string LibraryErrorTap::takeLastLine() {
    const std::lock_guard<std::mutex> guard(mutex_);
    last_.clear();
    std::string line = std::move(lastOfAny_);
    lastOfAny_.clear();
    return line;
}

void LibraryErrorTap::record(const char* s, std::streamsize n) {
    std::string& partial = partial_[std::this_thread::get_id()];
    for (std::streamsize i = 0; i < n; ++i) {
        if (s[i] == '\n') {
            last_[std::this_thread::get_id()] = partial;
            lastOfAny_ = partial;
            partial.clear();
        } else {
            partial += s[i];
        }
    }
}

LibraryErrorTap::int_type LibraryErrorTap::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char byte = traits_type::to_char_type(c);
    const std::lock_guard<std::mutex> guard(mutex_);
    record(&byte, 1);
    return original_->sputc(byte);
}

std::streamsize LibraryErrorTap::xsputn(const char* s, std::streamsize n) {
    const std::lock_guard<std::mutex> guard(mutex_);
    record(s, n);
    return original_->sputn(s, n);
}

int LibraryErrorTap::sync() {
    const std::lock_guard<std::mutex> guard(mutex_);
    return original_->pubsync();
}

}  // namespace zelgen
