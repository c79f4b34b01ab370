// Implemented by the text-processing work; declarations are in Encoding.h.
