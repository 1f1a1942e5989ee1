// Terminal tests come with the pseudo-terminal harness.
