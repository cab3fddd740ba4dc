#include "zelgen/library_error_tap.h"

#include <iostream>

namespace zelgen {

LibraryErrorTap::LibraryErrorTap(bool passOn)
    : passOn_(passOn), original_(std::cerr.rdbuf()), output_(std::cout.rdbuf(), passOn, mutex_) {
    std::cerr.rdbuf(this);
    std::cout.rdbuf(&output_);
}

LibraryErrorTap::~LibraryErrorTap() {
    std::cout.flush();
    std::cerr.flush();
    std::cout.rdbuf(output_.original());
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
    return passOn_ ? original_->sputc(byte) : c;
}

std::streamsize LibraryErrorTap::xsputn(const char* s, std::streamsize n) {
    const std::lock_guard<std::mutex> guard(mutex_);
    record(s, n);
    return passOn_ ? original_->sputn(s, n) : n;
}

int LibraryErrorTap::sync() {
    const std::lock_guard<std::mutex> guard(mutex_);
    return passOn_ ? original_->pubsync() : 0;
}

LibraryErrorTap::int_type LibraryErrorTap::Passage::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof()) || !passOn_) {
        return traits_type::not_eof(c);
    }
    const std::lock_guard<std::mutex> guard(mutex_);
    return original_->sputc(traits_type::to_char_type(c));
}

std::streamsize LibraryErrorTap::Passage::xsputn(const char* s, std::streamsize n) {
    if (!passOn_) {
        return n;
    }
    const std::lock_guard<std::mutex> guard(mutex_);
    return original_->sputn(s, n);
}

int LibraryErrorTap::Passage::sync() {
    if (!passOn_) {
        return 0;
    }
    const std::lock_guard<std::mutex> guard(mutex_);
    return original_->pubsync();
}

}  // namespace zelgen
