#pragma once

class QWidget;

namespace vk {

// What the finish confirmation needs of the exercise window.
class FinishHost
{
public:
    // The window the box belongs to: it owns the "answerTimer" timer and is
    // blocked while the box is open.
    virtual QWidget &exerciseWindow() = 0;
    // Whether the stage clock has stopped: the limit came (or the finish ran).
    virtual bool clockStopped() const = 0;
    // Evaluates the stage; later calls do nothing.
    virtual void finishStage() = 0;

protected:
    ~FinishHost() = default;
};

} // namespace vk
