// What the billboard shows over time: a still picture, an animation, a video or a live feed.
// Free of GL: a source hands over whole frames (RGB or RGBA rows, or a video's planes) and the
// display uploads the one due into its texture, in place, whenever it changes. A source that
// decodes or receives on a thread of its own keeps a small hand-over behind this interface (a
// bounded queue, or a slot the newest frame wins); every call here comes from the display's
// thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "frames/planar_frame.h"

using FrameClock = std::chrono::steady_clock;

// Largest side of a frame the display shows or a shot it writes: a frame must fit one texture
// on every GL this runs on.
inline constexpr int kMaxFrameSide = 8192;

// "Never" for nextFrameDue: a still picture, or a paused one.
inline constexpr FrameClock::time_point kNoFrameDue = FrameClock::time_point::max();

// Wakes the display when a frame it waits for comes; called from the source's own thread.
using FrameWake = void (*)();

// One whole frame as the display takes it: tightly packed rows of RGB or RGBA (as the source's
// channels() says), bottom row first (the layout of the picture record and of GL's texture
// uploads).
struct FrameView {
    const std::uint8_t* pixels = nullptr;  // null: nothing to show yet (the wall stays dark)
    std::uint64_t serial = 0;              // changes whenever the pixels change
    // The mipmap levels below it, as buildMipmapChain lays them out, when the source worked
    // them out itself; null: the display has them built.
    const std::uint8_t* mipmaps = nullptr;
    // Set for a source whose frames are planes (usePlanes): `pixels` is then the whole frame,
    // laid out as planarFrameLayout says, levels included, and these are its colours.
    const YuvColours* yuv = nullptr;
};

class FrameSource {
  public:
    virtual ~FrameSource() = default;

    // The size of every frame, fixed for the source's life.
    virtual int width() const = 0;
    virtual int height() const = 0;

    // The size the billboard takes the frames for, in the content's own pixels: width() and
    // height(), or a picture file's size when its pixels were decoded smaller than that.
    virtual int fullWidth() const { return width(); }
    virtual int fullHeight() const { return height(); }

    // Bytes a pixel of every frame: 3 (RGB) or 4 (RGBA, whose alpha the billboard never reads).
    // Drivers keep four-byte texels, so frames of four upload as a plain copy: the choice of
    // a source whose frames change all the time.
    virtual int channels() const { return 3; }

    // Whether the source's frames are planes to begin with (see planar_frame.h), and the
    // display's answer, before fitWithin, when it can draw them so: from then on, for the
    // source's whole life, its frames are handed over as planes (FrameView::yuv).
    virtual bool offersPlanes() const { return false; }
    virtual void usePlanes() {}

    // Called once, before the source is first shown, with the largest texture side GL takes:
    // a source larger than that shrinks its frames to fit, keeping their proportions, and
    // width() and height() give the fitted size from then on. False when it cannot (memory).
    virtual bool fitWithin(int maxSide) = 0;

    // Called when the source becomes the one shown (true) and when another one is chosen
    // (false). A source that decodes or receives may start and stop its work here; `now`
    // is where its own timeline starts over (an animation starts at its first frame).
    virtual void show(bool shown, FrameClock::time_point now) = 0;

    // The frame due at `now`. Its pixels stay valid until the next call of frameAt or
    // show. Before its first frame a source returns null pixels.
    virtual FrameView frameAt(FrameClock::time_point now) = 0;

    // The display has its own copy of the frame last handed over. A source whose frames
    // never change may let its pixels go; frameAt then keeps the serial and gives null pixels.
    virtual void frameUploaded() {}

    // When the display should next ask for a frame: the time the frame after the one due at
    // `now` is due, or kNoFrameDue when nothing will change by itself. A source filled from
    // another thread, which cannot know, answers a short poll interval while it is shown,
    // unless it was given a wake: it then answers kNoFrameDue and wakes the display instead.
    virtual FrameClock::time_point nextFrameDue(FrameClock::time_point now) const = 0;

    // From now on, while shown, a frame from the source's own thread that nextFrameDue could
    // not foresee (a feed's next frame, a video's when its decoder fell behind) calls `wake`
    // (which must be safe on any thread) instead of waiting to be polled.
    virtual void wakeOnFrame(FrameWake wake) { (void)wake; }

    // Pauses or resumes the source's own timeline; false when it cannot be paused (a still
    // picture, a live feed), in which case nothing changed.
    virtual bool setPaused(bool paused, FrameClock::time_point now) {
        (void)paused;
        (void)now;
        return false;
    }
    virtual bool paused() const { return false; }

    // Where a review shoots moving content: `preferred` seconds in, or the start of the last
    // frame when one pass of the source ends sooner (a review shows no second loop).
    virtual double shotSeconds(double preferred) const { return preferred; }

    // The rate at which an offline rendering (the review's clips) samples the source, in
    // frames per second; 0 for a source that never changes by itself.
    virtual double frameRate() const { return 0; }

    // True for a source whose frames arrive as they come (a live feed): its timeline is the
    // real clock, so an offline rendering samples it as real time passes instead of pinning
    // the clock frame by frame.
    virtual bool live() const { return false; }

    // Whether the frames change by themselves: an animation, a video or a live feed.
    bool moving() const { return frameRate() > 0 || live(); }

    // True for frames that are the wall's own LEDs already, one LED a pixel whatever their size
    // (a live feed, content fitted to the wall): the billboard never takes cells of them.
    virtual bool oneLedAPixel() const { return false; }

    // Waits until the first frame has come or `deadline` passes; false when none came. A source
    // that has its first frame at hand from the start answers at once.
    virtual bool waitForFirstFrame(FrameClock::time_point deadline) const {
        (void)deadline;
        return true;
    }

    // Offline rendering: from now on frameAt waits for the frame due instead of handing over
    // the newest one at hand and dropping late ones, so that a clip rendered frame by frame
    // is the same on every run. Sources that never drop frames need do nothing.
    virtual void renderOffline() {}

    // What --stats prints for this source once a second and at exit, one or more lines
    // without the last newline; empty for nothing. `shown` says whether it is the source on
    // the billboard now (a video reports only then; a live feed, received all along, always).
    virtual std::string statsLine(bool shown) const {
        (void)shown;
        return {};
    }
};
