# Read by cpack before it runs the install rules, in the same process: they see this and fill a package.
set(ENV{TAZEN_PACKAGING} 1)
