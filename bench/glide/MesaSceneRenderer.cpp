#include "bench/glide/MesaSceneRenderer.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/osmesa.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

// Depth range of the projection: W from 1 to 65536, as the W-buffer covers.
constexpr float kNear = 1.0f;
constexpr float kFar = 65536.0f;

class MesaSceneRenderer final : public SceneRenderer
{
public:
    explicit MesaSceneRenderer(const ReferenceScene& scene)
        : pixels_(ReferenceScene::kWidth * ReferenceScene::kHeight)
    {
        context_ = OSMesaCreateContextExt(OSMESA_RGB_565, 16, 0, 0, nullptr);
        if (context_ == nullptr ||
            !OSMesaMakeCurrent(context_, pixels_.data(), GL_UNSIGNED_SHORT_5_6_5,
                               ReferenceScene::kWidth, ReferenceScene::kHeight))
        {
            std::fprintf(stderr, "cannot make an off-screen Mesa context\n");
            return;
        }
        OSMesaPixelStore(OSMESA_Y_UP, 0);
        name_ = std::string("mesa ") + reinterpret_cast<const char*>(glGetString(GL_RENDERER));

        glViewport(0, 0, ReferenceScene::kWidth, ReferenceScene::kHeight);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        // Our board draws the scene source-over blended, as the render library sets it.
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, ReferenceScene::kTextureSize,
                     ReferenceScene::kTextureSize, 0, GL_RGB, GL_UNSIGNED_SHORT_5_6_5,
                     scene.texture.data());
        const GLint filter = scene.bilinear ? GL_LINEAR : GL_NEAREST;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glEnable(GL_TEXTURE_2D);

        const GLfloat fogColour[4] = {scene.fogColour[0] / 255.0f, scene.fogColour[1] / 255.0f,
                                      scene.fogColour[2] / 255.0f, 1.0f};
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, scene.fogNear);
        glFogf(GL_FOG_END, scene.fogFar);
        glFogfv(GL_FOG_COLOR, fogColour);
        glFogi(GL_FOG_COORDINATE_SOURCE, GL_FOG_COORDINATE);
        glHint(GL_FOG_HINT, GL_NICEST);

        // Clip coordinates straight from the scene: x, y over the screen times W, depth from
        // the usual perspective projection, W as the fog coordinate.
        const float a = (kFar + kNear) / (kFar - kNear);
        const float b = -2.0f * kFar * kNear / (kFar - kNear);
        for (const auto& quad : scene.quads)
        {
            for (const int corner : {0, 1, 2, 0, 2, 3})
            {
                const SceneVertex& v = quad[corner];
                const float xNdc = 2.0f * v.x / ReferenceScene::kWidth - 1.0f;
                const float yNdc = 1.0f - 2.0f * v.y / ReferenceScene::kHeight;
                positions_.insert(positions_.end(), {xNdc * v.w, yNdc * v.w, a * v.w + b, v.w});
                texCoords_.insert(texCoords_.end(), {v.s / ReferenceScene::kTextureSize,
                                                     v.t / ReferenceScene::kTextureSize});
                colours_.insert(colours_.end(), {v.r, v.g, v.b, 255});
                fogCoords_.push_back(v.w);
            }
        }
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glEnableClientState(GL_FOG_COORD_ARRAY);
        glVertexPointer(4, GL_FLOAT, 0, positions_.data());
        glTexCoordPointer(2, GL_FLOAT, 0, texCoords_.data());
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, colours_.data());
        glFogCoordPointer(GL_FLOAT, 0, fogCoords_.data());
        glClearColor(scene.clearColour[0] / 255.0f, scene.clearColour[1] / 255.0f,
                     scene.clearColour[2] / 255.0f, 1.0f);
    }

    ~MesaSceneRenderer() override
    {
        if (context_ != nullptr)
        {
            OSMesaDestroyContext(context_);
        }
    }

    const char* Name() const override { return name_.c_str(); }

    void DrawFrame() override
    {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(fogCoords_.size()));
        glFinish();
    }

    const uint16_t* Pixels(int& pitchPixels) override
    {
        pitchPixels = ReferenceScene::kWidth;
        return pixels_.data();
    }

private:
    OSMesaContext context_ = nullptr;
    std::string name_ = "mesa";
    std::vector<uint16_t> pixels_;
    std::vector<float> positions_;
    std::vector<float> texCoords_;
    std::vector<uint8_t> colours_;
    std::vector<float> fogCoords_;
};

}  // namespace

std::unique_ptr<SceneRenderer> MakeMesaRenderer(const ReferenceScene& scene)
{
    return std::make_unique<MesaSceneRenderer>(scene);
}
