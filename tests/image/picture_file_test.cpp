// Picture loading placeholder; filled in with the corpus of broken files.
