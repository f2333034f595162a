#pragma once

// When a kind's run starts by itself: a project made in the new-project wizard starts at its first step
// after its page is built; an opened project never does, in whatever order the main window builds, loads
// and steps it. The kind tells it what happened and asks at the top of every step.
class CWizardRunStart {
  public:
    // The wizard accepted the project's input page.
    void Accepted() { m_due = true; }
    // The project was read from a file: it waits for Start.
    void Loaded() { m_due = false; }
    // True once, at the first step of an accepted project whose page is built (viewCreated), unless it was
    // loaded before.
    bool TakeDue(bool viewCreated) {
        if (!m_due || !viewCreated)
            return false;
        m_due = false;
        return true;
    }

  private:
    bool m_due = false;
};
