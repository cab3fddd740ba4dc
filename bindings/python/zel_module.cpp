// The compiled part of the Python module `zel` (zel._zel): looks are made through the
// library's C interface, .cube files are read and look files decoded by the same code
// that zelgen uses, so that a script and the tool make and show the same files.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "check/check_command.h"
#include "cube/cube_file.h"
#include "cube_reader/cube_row_order.h"
#include "cube_reader/look_lattice.h"
#include "formats/look_reader.h"
#include "inspect/inspect_report.h"
#include "inspect/look_file_decoder.h"
#include "readback/look_blocks_decoder.h"
#include "zel/camera_models.h"
#include "zel/zel_c.h"

namespace py = pybind11;

namespace {

// How often a waiting script looks for Ctrl-C and hands on progress reports.
constexpr std::int32_t kPollMilliseconds = 20;

// A job that ended without a look file.
class LookError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Generator {
    Generator() {
        if (zel_generator_create(&handle) != ZEL_OK) {
            throw std::bad_alloc();
        }
    }
    ~Generator() { zel_generator_destroy(handle); }
    Generator(const Generator&) = delete;
    Generator& operator=(const Generator&) = delete;

    zel_generator* handle = nullptr;
};

struct Result {
    ~Result() { zel_result_free(handle); }
    zel_result* handle = nullptr;
};

// Progress reports, taken on the job's thread and handed to Python on the caller's.
class ProgressQueue {
  public:
    static void record(void* user, std::int32_t progress, std::int32_t /*status*/) {
        auto* queue = static_cast<ProgressQueue*>(user);
        try {
            std::lock_guard<std::mutex> guard(queue->mutex_);
            queue->reports_.push_back(progress);
        } catch (...) {
            // A report that cannot be kept is dropped; the job goes on.
        }
    }

    std::vector<int> take() {
        std::lock_guard<std::mutex> guard(mutex_);
        return std::exchange(reports_, {});
    }

  private:
    std::mutex mutex_;
    std::vector<int> reports_;
};

[[noreturn]] void raiseFor(std::int32_t code, const std::string& message) {
    const std::string text = message.empty() ? zel_error_text(code) : message;
    switch (code) {
        case ZEL_ERROR_ARGUMENT:
            throw py::value_error(text);
        case ZEL_ERROR_NO_MEMORY:
            throw std::bad_alloc();
        case ZEL_ERROR_JOB_FAILED:
        case ZEL_ERROR_CANCELLED:
            throw LookError(text);
        default:
            throw std::runtime_error(text);
    }
}

// Stops the job and waits for its end without the GIL, discarding what it made.
void cancelAndWait(Generator& generator) {
    py::gil_scoped_release release;
    zel_generator_cancel(generator.handle);
    Result discarded;
    zel_generator_wait(generator.handle, -1, &discarded.handle);
}

void deliver(ProgressQueue& queue, const py::object& progress) {
    if (progress.is_none()) {
        return;
    }
    for (int report : queue.take()) {
        progress(report);
    }
}

const char* textOr(const std::map<std::string, std::string>& texts, const char* key) {
    const auto found = texts.find(key);
    return found != texts.end() ? found->second.c_str() : nullptr;
}

using FloatArray = py::array_t<float, py::array::c_style | py::array::forcecast>;

// Runs one look on a generator of its own: the GIL is released while the job runs, the
// progress callback is called on this thread, and Ctrl-C (or an exception raised by the
// callback) cancels the job, waits for its end and is raised again.
py::tuple makeLook(const FloatArray& lut, std::int32_t order, const std::string& camera,
                   std::int32_t source, std::int32_t output, std::int32_t range, std::int32_t job,
                   bool longChain, bool fullDomain, const std::map<std::string, std::string>& texts,
                   const py::object& progress) {
    if (lut.ndim() != 4 || lut.shape(0) != lut.shape(1) || lut.shape(0) != lut.shape(2) ||
        lut.shape(3) != 3) {
        throw py::value_error("lut must have the shape (N, N, N, 3)");
    }
    if (lut.shape(0) > 255) {
        throw py::value_error("the grid size N must be 2 to 255");
    }
    zel_look_input input;
    std::memset(&input, 0, sizeof input);
    input.struct_size = sizeof input;
    input.grid_size = static_cast<std::int32_t>(lut.shape(0));
    input.lut = lut.data();
    input.order = order;
    input.source = source;
    input.output = output;
    input.range = range;
    input.job = job;
    input.options =
        (longChain ? ZEL_OPTION_LONG_CHAIN : 0u) | (fullDomain ? ZEL_OPTION_FULL_DOMAIN : 0u);
    input.camera = camera.c_str();
    input.name = textOr(texts, "name");
    input.note = textOr(texts, "note");
    input.second_name = textOr(texts, "second_name");
    input.look_text = textOr(texts, "look_text");
    input.header_text = textOr(texts, "header_text");
    input.header_tag = textOr(texts, "header_tag");
    input.created = textOr(texts, "created");

    ProgressQueue queue;  // outlives the generator, whose end waits for the job
    Generator generator;
    if (!progress.is_none()) {
        zel_generator_set_progress(generator.handle, &ProgressQueue::record, &queue);
    }
    std::int32_t code = zel_make_look_async(generator.handle, &input);
    if (code != ZEL_OK) {
        raiseFor(code, zel_generator_message(generator.handle));
    }
    Result result;
    for (;;) {
        {
            py::gil_scoped_release release;
            code = zel_generator_wait(generator.handle, kPollMilliseconds, &result.handle);
        }
        const bool running = code == ZEL_ERROR_TIMEOUT;
        try {
            deliver(queue, progress);
            if (PyErr_CheckSignals() != 0) {
                throw py::error_already_set();
            }
        } catch (...) {
            if (running) {
                cancelAndWait(generator);
            }
            throw;
        }
        if (!running) {
            break;
        }
    }
    if (code != ZEL_OK) {
        raiseFor(code, zel_generator_message(generator.handle));
    }

    std::uint32_t size = 0;
    const std::uint8_t* data = zel_result_data(result.handle, &size);
    py::bytes file(reinterpret_cast<const char*>(data), size);
    py::str cubeHeader(zel_result_cube_header(result.handle));
    std::uint32_t floatCount = 0;
    const float* reindexed = zel_result_reindexed(result.handle, &floatCount);
    py::object reindexedArray = py::none();
    if (reindexed != nullptr) {
        const py::ssize_t n = lut.shape(0);
        FloatArray copy({n, n, n, py::ssize_t{3}});
        std::memcpy(copy.mutable_data(), reindexed, sizeof(float) * floatCount);
        reindexedArray = std::move(copy);
    }
    return py::make_tuple(file, cubeHeader, reindexedArray);
}

// Whether Ctrl-C has come while a pipe is read without the GIL; the KeyboardInterrupt then
// stays set, to be raised.
bool pythonInterrupted() {
    py::gil_scoped_acquire gil;
    return PyErr_CheckSignals() != 0;
}

// A lattice's nodes as an (N^3, 3) array, red fastest as a .cube file lists them.
FloatArray rowsInCubeOrder(const zel::io::NodeTable& lattice) {
    FloatArray array({static_cast<py::ssize_t>(lattice.nodeCount()), py::ssize_t{3}});
    zel::io::copyRowsInCubeOrder(lattice, array.mutable_data());
    return array;
}

// N, the title and the N^3 rows of a .cube file, red fastest as the file lists them. A file
// with a 1D shaper gives the look zelgen makes of it: shaper and table sampled onto a
// lattice of the table's size.
py::tuple readCube(const std::string& path) {
    int size = 0;
    std::string title;
    zel::io::NodeTable lattice;
    try {
        py::gil_scoped_release release;
        zel::io::CubeLut lut = zelgen::readCubeLut(path, &pythonInterrupted);
        size = lut.size;
        title = std::move(lut.title);
        lattice = zel::io::lookLattice(std::move(lut));
    } catch (const zel::io::CubeParseError& e) {
        throw py::value_error(e.what());
    } catch (const zelgen::InputInterrupted&) {
        throw py::error_already_set();  // the KeyboardInterrupt that stopped the read
    }
    return py::make_tuple(size, title, rowsInCubeOrder(lattice));
}

// Any look zelgen reads (one file, or the files of a chain), as `zelgen make` reads it: its
// grid size, the remark on the choice made, and its rows red fastest.
py::tuple readLook(const std::vector<std::string>& files, bool chain, int grid,
                   const std::string& cdlId) {
    zelgen::LookRead look;
    try {
        py::gil_scoped_release release;
        zelgen::LookRequest request;
        request.files = files;
        request.chain = chain;
        request.gridSize = grid;
        request.cdlId = cdlId;
        look = zelgen::readLook(request);
    } catch (const zel::io::CubeParseError& e) {
        throw py::value_error(e.what());
    }
    return py::make_tuple(look.lattice.size(), look.remark, rowsInCubeOrder(look.lattice));
}

// What `zelgen inspect --json` prints for these bytes, as JSON text.
std::string inspectJson(const py::bytes& bytes, const py::object& file) {
    const std::string text = bytes;
    const std::vector<std::uint8_t> data(text.begin(), text.end());
    try {
        const zelgen::LookFileInfo info = zelgen::decodeLookFile(data);
        nlohmann::json json =
            zelgen::lookFileJson(info, file.is_none() ? std::string() : file.cast<std::string>());
        if (file.is_none()) {
            json["file"] = nullptr;
        }
        return json.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    } catch (const zel::DecodeError& e) {
        const std::string reason = e.what();
        const std::string lead = "this is not a look file";
        throw py::value_error(reason.compare(0, lead.size(), lead) == 0 ? reason
                                                                        : lead + ": " + reason);
    }
}

// The layouts a camera model's look file may take: (the standard layout holds its look, the
// extended layout carries look data, the extended layout is its default); None when the
// model is unknown.
py::object cameraLayouts(const std::string& camera) {
    const ZelCameraModelInfo* model = zel_find_camera_model(camera.c_str());
    if (model == nullptr) {
        return py::none();
    }
    return py::make_tuple(model->standardLayoutFits, model->extendedLayoutCarriesLook,
                          model->extendedIsDefault);
}

// What `zelgen check --json` prints for these bytes (the library's check), with the source
// look read from `lookPath` (a .cube file) or given as `lut` (N, N, N, 3 floats, blue
// fastest), or without it when both are None.
std::string checkJson(const py::bytes& bytes, const py::object& lookPath, const py::object& lut) {
    const std::string text = bytes;
    const std::vector<std::uint8_t> data(text.begin(), text.end());
    zel::io::NodeTable nodes;
    if (!lut.is_none()) {
        const auto array = lut.cast<FloatArray>();
        const auto n = static_cast<int>(array.shape(0));
        nodes = zel::io::NodeTable(n);
        const float* in = array.data();
        for (std::size_t node = 0; node < nodes.nodeCount(); ++node) {
            std::memcpy(nodes.data() + 4 * node, in + 3 * node, sizeof(float) * 3);
            nodes.data()[4 * node + 3] = 0.0f;
        }
    }
    try {
        py::gil_scoped_release release;
        return !lut.is_none()       ? zelgen::checkReport(data, &nodes)
               : lookPath.is_none() ? zelgen::checkReport(data, nullptr)
                                    : zelgen::checkReport(data, lookPath.cast<std::string>());
    } catch (const zel::io::CubeParseError& e) {
        throw py::value_error(e.what());
    } catch (const zel::DecodeError& e) {
        throw py::value_error(std::string("this is not a look file: ") + e.what());
    } catch (const std::runtime_error& e) {
        throw py::value_error(e.what());
    }
}

}  // namespace

PYBIND11_MODULE(_zel, module) {
    module.doc() = "The compiled part of zel; use the functions of the zel package.";
    py::register_exception<LookError>(module, "LookError", PyExc_RuntimeError);
    module.def("make_look", &makeLook);
    module.def("read_cube", &readCube);
    module.def("read_look", &readLook);
    module.attr("OPENCOLORIO") = zelgen::openColorIoVersion();
    module.def("inspect_json", &inspectJson);
    module.def("version", &zel_version);
    module.def("camera_layouts", &cameraLayouts);
    module.def("check_json", &checkJson);
    module.attr("ORDER_RED_FASTEST") = static_cast<int>(ZEL_ORDER_RED_FASTEST);
    module.attr("ORDER_BLUE_FASTEST") = static_cast<int>(ZEL_ORDER_BLUE_FASTEST);
}
