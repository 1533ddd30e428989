#include "engine/ParallelFor.h"

#include <exception>
#include <vector>

namespace quillprint {

void RunParts(const TParallelFor& runner, size_t count, const std::function<void(size_t)>& task)
{
    if (!runner) {
        for (size_t i = 0; i < count; ++i)
            task(i);
        return;
    }
    std::vector<std::exception_ptr> errors(count);
    runner(count, [&](size_t i) {
        try {
            task(i);
        } catch (...) {
            errors[i] = std::current_exception();
        }
    });
    for (const std::exception_ptr& error : errors) {
        if (error)
            std::rethrow_exception(error);
    }
}

}  // namespace quillprint
