#include "api/c_failure.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>
#include <utility>

#include "zel/zel_c.h"

namespace zel {

Failure fail(std::int32_t code, std::string message) {
    return {code, std::move(message)};
}

Failure failureOf(std::exception_ptr caught) {
    try {
        std::rethrow_exception(caught);
    } catch (const std::bad_alloc&) {
        return fail(ZEL_ERROR_NO_MEMORY, "there was not enough memory");
    } catch (const std::system_error& e) {
        return fail(ZEL_ERROR_THREAD,
                    std::string("the job could not be started (") + e.what() + ")");
    } catch (const std::exception& e) {
        return fail(ZEL_ERROR_INTERNAL, std::string("unexpected fault: ") + e.what());
    } catch (...) {
        return fail(ZEL_ERROR_INTERNAL, "unexpected fault");
    }
}

void copyMessage(char* message, std::uint32_t capacity, const std::string& text) {
    if (message == nullptr || capacity == 0) {
        return;
    }
    const std::size_t length = std::min<std::size_t>(text.size(), capacity - 1);
    std::memcpy(message, text.data(), length);
    message[length] = '\0';
}

}  // namespace zel
