// The editor's Windows side as a Windows host drives it: the description and
// bitmaps from this program's own resources (the module's .rc), the editor
// attached to a host window, mouse messages to its child window, timers run
// by the message loop; and the description drawn offscreen with Direct2D
// against the cairo side's picture of it.

#include "editor/AboutBox.h"
#include "editor/EditorResources.h"
#include "editor/ScopeView.h"
#include "gui/CBitmap.h"
#include "gui/CFrame.h"
#include "gui/UIDescription.h"
#include "gui/VST3Editor.h"
#include "gui/win32/ComPtr.h"
#include "gui/win32/D2DDrawContext.h"
#include "gui/win32/DWriteFont.h"
#include "gui/win32/Win32Timer.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <gtest/gtest.h>
#include <wincodec.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using VSTGUI::Win32::ComPtr;

namespace {

constexpr const char* kDescription = "myEditor.uidesc";
constexpr const char* kTemplate = "view";
constexpr int kWidth = 375;
constexpr int kHeight = 495;
constexpr ParamID kLeftGain = 3;
constexpr int32 kParameterCount = 29;

struct EditRecord
{
    enum Kind
    {
        kBegin,
        kPerform,
        kEnd
    } kind;
    ParamID id;
    ParamValue value;
};

class RecordingHandler : public FObject, public IComponentHandler
{
public:
    tresult PLUGIN_API beginEdit(ParamID id) override { return record(EditRecord::kBegin, id, 0); }
    tresult PLUGIN_API performEdit(ParamID id, ParamValue value) override
    {
        return record(EditRecord::kPerform, id, value);
    }
    tresult PLUGIN_API endEdit(ParamID id) override { return record(EditRecord::kEnd, id, 0); }
    tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }

    std::vector<EditRecord> edits;

    OBJ_METHODS(RecordingHandler, FObject)
    DEFINE_INTERFACES
    DEF_INTERFACE(IComponentHandler)
    END_DEFINE_INTERFACES(FObject)
    REFCOUNT_METHODS(FObject)

private:
    tresult record(EditRecord::Kind kind, ParamID id, ParamValue value)
    {
        edits.push_back({kind, id, value});
        return kResultOk;
    }
};

// A controller with a parameter for every tag of the description and the
// editor hooks the product's controller has: the scope view, the about box's
// labels and sub-controller.
class TestController : public EditController, public VSTGUI::VST3EditorDelegate
{
public:
    tresult PLUGIN_API initialize(FUnknown* context) override
    {
        const tresult result = EditController::initialize(context);
        for (int32 id = 0; id < kParameterCount; ++id)
        {
            const std::u16string title = u"P" + std::u16string(1, static_cast<char16_t>(u'A' + id));
            parameters.addParameter(reinterpret_cast<const TChar*>(title.c_str()), nullptr, 0, 0.5,
                                    ParameterInfo::kCanAutomate, static_cast<ParamID>(id));
        }
        return result;
    }

    VSTGUI::CView* createCustomView(VSTGUI::UTF8StringPtr name, const VSTGUI::UIAttributes&,
                                    const VSTGUI::IUIDescription*, VSTGUI::VST3Editor*) override
    {
        if (name && std::string(name) == "ScopeView")
            return new ScopeView(VSTGUI::CRect(), &scopeMutex);
        return AboutBox::createLabel(name, getHostContext());
    }

    VSTGUI::IController* createSubController(VSTGUI::UTF8StringPtr name, const VSTGUI::IUIDescription* description,
                                             VSTGUI::VST3Editor* editor) override
    {
        if (!name || std::string(name) != AboutBox::kSubControllerName)
            return nullptr;
        auto* uiDescription = dynamic_cast<VSTGUI::UIDescription*>(const_cast<VSTGUI::IUIDescription*>(description));
        return new VSTGUI::ModalViewController(editor, uiDescription);
    }

    std::mutex scopeMutex;
};

// Runs the message loop (timers, paints) for a while.
void pumpMessages(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

BOOL CALLBACK countChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

LPARAM at(int x, int y)
{
    return MAKELPARAM(x, y);
}

class EditorOnWindows : public testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"EditorTestHost";
        RegisterClassW(&windowClass);
        host = CreateWindowExW(0, L"EditorTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, kWidth + 40,
                               kHeight + 60, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(nullptr, host);
        controller = new TestController;
        ASSERT_EQ(kResultOk, controller->initialize(nullptr));
        handler = new RecordingHandler;
        controller->setComponentHandler(handler);
    }

    void TearDown() override
    {
        if (editor)
            closeEditor();
        controller->setComponentHandler(nullptr);
        controller->terminate();
        controller->release();
        handler->release();
        DestroyWindow(host);
        pumpMessages(10);
    }

    void openEditor()
    {
        resources = Steinberg::Vst::editorResources();
        ASSERT_TRUE(resources) << "this program's module holds no resources";
        editor = new VSTGUI::VST3Editor(controller, kTemplate, kDescription, resources);
        ASSERT_EQ(kResultTrue, editor->isPlatformTypeSupported(kPlatformTypeHWND));
        ASSERT_EQ(kResultOk, editor->attached(host, kPlatformTypeHWND));
        window = static_cast<HWND>(editor->getPlatformWindow());
        ASSERT_NE(nullptr, window);
        pumpMessages(50);
    }

    void closeEditor()
    {
        editor->removed();
        editor->release();
        editor = nullptr;
        window = nullptr;
    }

    int childWindows() const
    {
        int count = 0;
        EnumChildWindows(host, countChild, reinterpret_cast<LPARAM>(&count));
        return count;
    }

    void click(int x, int y)
    {
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        SendMessageW(window, WM_LBUTTONUP, 0, at(x, y));
    }

    HWND host = nullptr;
    HWND window = nullptr;
    TestController* controller = nullptr;
    RecordingHandler* handler = nullptr;
    VSTGUI::SharedPointer<VSTGUI::IResourceProvider> resources;
    VSTGUI::VST3Editor* editor = nullptr;
};

TEST_F(EditorOnWindows, OpensAsAChildWindowOfTheHostsWindowWithTheDescriptionsSize)
{
    openEditor();
    EXPECT_EQ(kResultFalse, editor->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID));
    EXPECT_EQ(host, GetParent(window));
    EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_CHILD);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(kWidth, client.right);
    EXPECT_EQ(kHeight, client.bottom);
    UpdateWindow(window); // paints through Direct2D: must not fail or hang
    EXPECT_EQ(1, childWindows());
}

TEST_F(EditorOnWindows, DraggingAKnobUpIsOneEditOfItsParameter)
{
    openEditor();
    const int x = 65 + 18; // the "Left Gain" knob's centre
    const int y = 140 + 18;
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
    EXPECT_EQ(window, GetCapture()) << "the frame holds the mouse while the button is down";
    for (int step = 1; step <= 10; ++step)
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(x, y - 3 * step));
    SendMessageW(window, WM_LBUTTONUP, 0, at(x, y - 30));
    EXPECT_NE(window, GetCapture());

    ASSERT_GE(handler->edits.size(), 3u);
    EXPECT_EQ(EditRecord::kBegin, handler->edits.front().kind);
    EXPECT_EQ(EditRecord::kEnd, handler->edits.back().kind);
    double last = 0;
    for (const EditRecord& edit : handler->edits)
    {
        EXPECT_EQ(kLeftGain, edit.id);
        if (edit.kind == EditRecord::kPerform)
            last = edit.value;
    }
    EXPECT_GT(last, 0.5) << "up raises the value from the default";
    EXPECT_DOUBLE_EQ(last, controller->getParamNormalized(kLeftGain));
}

TEST_F(EditorOnWindows, TheAboutBoxFadesInOnTheFramesTimerAndGoesAwayOnClose)
{
    openEditor();
    VSTGUI::CFrame* frame = editor->getFrame();
    click(285 + 40, 450 + 10); // About
    VSTGUI::CView* box = frame->getModalView();
    ASSERT_NE(nullptr, box);
    EXPECT_LT(box->getAlphaValue(), 0.5f);
    pumpMessages(2 * AboutBox::kFadeMilliseconds);
    EXPECT_FLOAT_EQ(1.f, box->getAlphaValue()) << "the fade runs on timers of the host's message loop";

    click(10 + 20 + 210 + 40, 10 + 15 + 395 + 10); // Close
    pumpMessages(2 * AboutBox::kFadeMilliseconds);
    EXPECT_EQ(nullptr, frame->getModalView());
}

TEST_F(EditorOnWindows, FiftyOpenCloseCyclesLeaveNoWindowsTimersOrGuiObjects)
{
    // One cycle first: what stays for the process (fonts, factories) is not a leak.
    openEditor();
    closeEditor();
    pumpMessages(20);
    const DWORD gdiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int cycle = 0; cycle < 50; ++cycle)
    {
        openEditor();
        click(285 + 40, 450 + 10); // the about box's fade adds timers of its own
        pumpMessages(5);
        EXPECT_EQ(1, childWindows()) << cycle;
        EXPECT_GT(VSTGUI::Win32::TimerWindows::runningTimers(), 0u);
        closeEditor();
        EXPECT_EQ(0, childWindows()) << cycle;
        EXPECT_EQ(0u, VSTGUI::Win32::TimerWindows::runningTimers()) << cycle;
        EXPECT_EQ(nullptr, VSTGUI::Win32::TimerWindows::current()) << cycle;
    }
    pumpMessages(20);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdiBefore);
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), userBefore);
}

// Pixels as 0xAARRGGBB, premultiplied, straight from a bitmap.
std::vector<uint32_t> pixelsOf(VSTGUI::CBitmap& bitmap)
{
    VSTGUI::PixelBuffer buffer;
    std::vector<uint32_t> pixels;
    if (!bitmap.getPlatformBitmap() || !bitmap.getPlatformBitmap()->lockPixels(buffer))
        return pixels;
    for (uint32_t y = 0; y < buffer.height; ++y)
    {
        const auto* row = reinterpret_cast<const uint32_t*>(buffer.data + y * buffer.stride);
        pixels.insert(pixels.end(), row, row + buffer.width);
    }
    bitmap.getPlatformBitmap()->unlockPixels();
    return pixels;
}

// The description's template drawn with Direct2D into a WIC bitmap, black
// underneath as in the window.
std::vector<uint32_t> drawOffscreen(VSTGUI::UIDescription& description)
{
    std::vector<uint32_t> pixels;
    ComPtr<IWICImagingFactory> wic;
    ComPtr<IWICBitmap> target;
    ComPtr<ID2D1Factory> factory;
    ComPtr<IDWriteFactory> writeFactory;
    ComPtr<ID2D1RenderTarget> renderTarget;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(wic.put()))) ||
        FAILED(wic->CreateBitmap(kWidth, kHeight, GUID_WICPixelFormat32bppPBGRA, WICBitmapCacheOnLoad, target.put())) ||
        FAILED(D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, __uuidof(ID2D1Factory), nullptr,
                                 reinterpret_cast<void**>(factory.put()))) ||
        FAILED(DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, __uuidof(IDWriteFactory),
                                   reinterpret_cast<IUnknown**>(writeFactory.put()))))
        return pixels;
    const auto properties = D2D1::RenderTargetProperties(
        D2D1_RENDER_TARGET_TYPE_DEFAULT, D2D1::PixelFormat(DXGI_FORMAT_B8G8R8A8_UNORM, D2D1_ALPHA_MODE_PREMULTIPLIED),
        96.f, 96.f);
    if (FAILED(factory->CreateWicBitmapRenderTarget(target.get(), &properties, renderTarget.put())))
        return pixels;

    VSTGUI::CView* view = description.createView(kTemplate, nullptr);
    if (!view)
        return pixels;
    auto frame = VSTGUI::owned(new VSTGUI::CFrame(VSTGUI::CRect(0, 0, kWidth, kHeight)));
    frame->addView(view);
    renderTarget->BeginDraw();
    {
        VSTGUI::Win32::DWriteFontCache fonts(writeFactory.get());
        VSTGUI::Win32::D2DDrawContext context(renderTarget.get(), fonts);
        context.setFillColor(VSTGUI::kBlackCColor);
        context.drawRect(frame->getViewSize(), VSTGUI::kDrawFilled);
        frame->platformDrawRect(&context, frame->getViewSize());
    }
    if (FAILED(renderTarget->EndDraw()))
        return pixels;
    pixels.resize(static_cast<size_t>(kWidth) * kHeight);
    target->CopyPixels(nullptr, kWidth * 4, static_cast<UINT>(pixels.size() * 4),
                       reinterpret_cast<BYTE*>(pixels.data()));
    return pixels;
}

int channelDistance(uint32_t a, uint32_t b)
{
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8)
        largest =
            std::max(largest, std::abs(static_cast<int>((a >> shift) & 0xff) - static_cast<int>((b >> shift) & 0xff)));
    return largest;
}

// The bitmaps are placed pixel for pixel; only text (another rasteriser) and
// antialiased edges may differ, and only slightly.
TEST(DescriptionOnWindows, DrawsTheEditorAsTheCairoSideDoes)
{
    const char* referencePath = std::getenv("KALVIOR_LINUX_EDITOR_PICTURE");
    if (!referencePath || !*referencePath)
        GTEST_SKIP() << "KALVIOR_LINUX_EDITOR_PICTURE names no picture drawn by the cairo side";
    std::ifstream file(referencePath, std::ios::binary);
    ASSERT_TRUE(file) << referencePath;
    const std::string png((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto reference = VSTGUI::owned(new VSTGUI::CBitmap(VSTGUI::PngData{png.data(), png.size()}));
    ASSERT_TRUE(reference->isLoaded());
    ASSERT_EQ(kWidth, reference->getWidth());
    ASSERT_EQ(kHeight, reference->getHeight());

    auto description = VSTGUI::owned(new VSTGUI::UIDescription(kDescription, Steinberg::Vst::editorResources()));
    ASSERT_TRUE(description->parse());
    const std::vector<uint32_t> drawn = drawOffscreen(*description);
    ASSERT_EQ(static_cast<size_t>(kWidth) * kHeight, drawn.size());
    const std::vector<uint32_t> expected = pixelsOf(*reference);

    int largest = 0;
    size_t differing = 0;
    size_t farOff = 0;
    for (size_t i = 0; i < drawn.size(); ++i)
    {
        const int distance = channelDistance(drawn[i], expected[i]);
        largest = std::max(largest, distance);
        differing += distance > 0;
        farOff += distance > 64;
    }
    const double differingShare = static_cast<double>(differing) / drawn.size();
    const double farShare = static_cast<double>(farOff) / drawn.size();
    std::printf("largest channel difference %d, pixels differing %.4f %%, by more than 64: %.4f %%\n", largest,
                100. * differingShare, 100. * farShare);
    EXPECT_LT(differingShare, 0.02) << "more than text edges differ";
    EXPECT_LT(farShare, 0.005);
    EXPECT_EQ(expected[static_cast<size_t>(5 * kWidth + 5)], drawn[static_cast<size_t>(5 * kWidth + 5)])
        << "the skin's corner";
}

TEST(DescriptionOnWindows, XmlLiteReadsTheDescriptionAndRefusesWhatIsNotOne)
{
    struct Case
    {
        const char* what;
        const char* xml;
        bool valid;
    };
    const Case cases[] = {
        {"minimal", "<vstgui-ui-description version=\"1\"/>", true},
        {"entities and UTF-8",
         "<vstgui-ui-description version=\"1\"><control-tags><control-tag name=\"a&amp;b \xc3\xa4\" "
         "tag=\"7\"/></control-tags></vstgui-ui-description>",
         true},
        {"unclosed", "<vstgui-ui-description version=\"1\"><bitmaps>", false},
        {"two roots", "<vstgui-ui-description version=\"1\"/><x/>", false},
        {"document type", "<!DOCTYPE x [<!ENTITY e \"e\">]><vstgui-ui-description version=\"1\"/>", false},
        {"wrong root", "<description version=\"1\"/>", false},
        {"empty", "", false},
    };
    for (const Case& c : cases)
    {
        auto description = VSTGUI::owned(new VSTGUI::UIDescription("none.uidesc"));
        EXPECT_EQ(c.valid, description->parseText(c.xml)) << c.what;
    }
    auto description = VSTGUI::owned(new VSTGUI::UIDescription("none.uidesc"));
    ASSERT_TRUE(description->parseText(cases[1].xml));
    EXPECT_EQ(7, description->getControlTags().at("a&b \xc3\xa4"));
}

} // namespace

int main(int argc, char** argv)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
