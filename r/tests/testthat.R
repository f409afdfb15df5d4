library(testthat)
library(irteq)

test_check("irteq")
