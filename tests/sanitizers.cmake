# Sanitizer builds of the stand-in tests: filled in with the hardening work.
