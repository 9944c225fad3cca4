#include "engine/embedded_models.h"

#include "engine/model_container.h"

// The sealed containers of models/ become read-only data of the program.
// RALLINOX_MODEL_DIR is set by the build, which also rebuilds this file
// when a container changes.
#define RALLINOX_EMBED(symbol, file)                     \
    ".pushsection .rodata\n"                             \
    ".balign 16\n"                                       \
    ".globl " #symbol "_begin\n"                         \
    ".hidden " #symbol "_begin\n"                        \
    #symbol "_begin:\n"                                  \
    ".incbin \"" RALLINOX_MODEL_DIR "/" file "\"\n"      \
    ".globl " #symbol "_end\n"                           \
    ".hidden " #symbol "_end\n"                          \
    #symbol "_end:\n"                                    \
    ".popsection\n"

__asm__(RALLINOX_EMBED(rallinox_model_track, "track.rmod"));
__asm__(RALLINOX_EMBED(rallinox_model_action, "action.rmod"));

#undef RALLINOX_EMBED

extern "C" {
extern const std::uint8_t rallinox_model_track_begin[];
extern const std::uint8_t rallinox_model_track_end[];
extern const std::uint8_t rallinox_model_action_begin[];
extern const std::uint8_t rallinox_model_action_end[];
}

namespace rallinox {

std::span<const std::uint8_t> embeddedModel(std::string_view name) {
    if (name == "MODEL_TRACK")
        return {rallinox_model_track_begin, rallinox_model_track_end};
    if (name == "MODEL_ACTION")
        return {rallinox_model_action_begin, rallinox_model_action_end};
    return {};
}

bool decryptModel(std::string_view resourceName,
                  std::vector<std::uint8_t>& plaintext, std::string& error) {
    const std::span<const std::uint8_t> container = embeddedModel(resourceName);
    if (container.empty()) {
        plaintext.clear();
        error = kModelsMissingMessage;
        return false;
    }
    return openModel(container, plaintext, error);
}

}  // namespace rallinox
