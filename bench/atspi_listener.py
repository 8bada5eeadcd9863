"""A client on the accessibility bus that listens as a screen reader does: to every
object, window and focus event, reading each source's name, role and states. For
bench/window_bench.sh --accessibility; run with the system's python3 (pyatspi)."""
import pyatspi


def heard(event):
    try:
        source = event.source
        source.name, source.getRole(), source.getState()
    except Exception:  # a source gone before it was read
        pass


pyatspi.Registry.registerEventListener(heard, "object:", "window:", "focus:")
pyatspi.Registry.start()
