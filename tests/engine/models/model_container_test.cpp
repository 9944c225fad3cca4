#include "engine/embedded_models.h"
#include "engine/model_container.h"

#include "test_files.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>

namespace rallinox {
namespace {

constexpr std::array<std::uint8_t, kModelNonceSize> kNonce = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

std::vector<std::uint8_t> sampleModel() {
    std::vector<std::uint8_t> model(300);
    std::iota(model.begin(), model.end(), std::uint8_t{7});
    return model;
}

std::vector<std::uint8_t> sealed(const std::vector<std::uint8_t>& model) {
    std::vector<std::uint8_t> container;
    EXPECT_TRUE(sealModel(model, kNonce, container));
    return container;
}

// Opening must fail with the "damaged" text and leave no plaintext behind.
void expectDamaged(const std::vector<std::uint8_t>& container) {
    std::vector<std::uint8_t> plaintext = {1, 2, 3};
    std::string error;
    EXPECT_FALSE(openModel(container, plaintext, error));
    EXPECT_TRUE(plaintext.empty());
    EXPECT_EQ(error, "The analysis models in Rallinox are damaged. Please reinstall Rallinox.");
}

TEST(ModelContainer, SealedModelOpensToTheSameBytes) {
    const std::vector<std::uint8_t> model = sampleModel();
    const std::vector<std::uint8_t> container = sealed(model);

    ASSERT_EQ(container.size(), 32 + model.size());
    EXPECT_EQ(std::string(container.begin(), container.begin() + 4), "RMOD");
    EXPECT_TRUE(std::equal(kNonce.begin(), kNonce.end(), container.begin() + 4));
    EXPECT_NE(std::vector<std::uint8_t>(container.begin() + 32, container.end()), model);

    std::vector<std::uint8_t> plaintext;
    std::string error;
    EXPECT_TRUE(openModel(container, plaintext, error));
    EXPECT_EQ(plaintext, model);
    EXPECT_TRUE(error.empty());
}

TEST(ModelContainer, ShortOrForeignContainersAreDamaged) {
    std::vector<std::uint8_t> header = sealed(sampleModel());
    header.resize(32);
    expectDamaged(header);
    expectDamaged({});
    expectDamaged({'R', 'M', 'O', 'D'});

    std::vector<std::uint8_t> wrongMagic = sealed(sampleModel());
    wrongMagic[3] = 'X';
    expectDamaged(wrongMagic);
}

TEST(ModelContainer, AnyFlippedByteOfNonceTagOrCiphertextIsDetected) {
    const std::vector<std::uint8_t> good = sealed(sampleModel());
    for (const std::size_t at : {std::size_t{4}, std::size_t{15}, std::size_t{16}, std::size_t{31},
                                 std::size_t{32}, good.size() / 2, good.size() - 1}) {
        SCOPED_TRACE(at);
        std::vector<std::uint8_t> bad = good;
        bad[at] ^= 0x01;
        expectDamaged(bad);
    }
}

TEST(ModelContainer, EmptyModelCannotBeSealed) {
    std::vector<std::uint8_t> container;
    EXPECT_FALSE(sealModel({}, kNonce, container));
}

TEST(EmbeddedModels, UnknownResourceIsReportedMissing) {
    std::vector<std::uint8_t> plaintext = {9};
    std::string error;
    EXPECT_FALSE(decryptModel("MODEL_SCORE", plaintext, error));
    EXPECT_TRUE(plaintext.empty());
    EXPECT_EQ(error, "The analysis models are missing from Rallinox. Please reinstall Rallinox.");
    EXPECT_TRUE(embeddedModel("model_track").empty());
}

TEST(EmbeddedModels, ContainersHoldTheModelsOfTheSourceTree) {
    for (const auto& [resource, file] : {std::pair{"MODEL_TRACK", "models/track.onnx"},
                                         std::pair{"MODEL_ACTION", "models/action.onnx"}}) {
        SCOPED_TRACE(resource);
        std::vector<std::uint8_t> plaintext;
        std::string error;
        ASSERT_TRUE(decryptModel(resource, plaintext, error)) << error;
        EXPECT_EQ(plaintext, test::readSourceFile(file));
    }
}

}  // namespace
}  // namespace rallinox
