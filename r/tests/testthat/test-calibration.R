# read_calibration() translates the library's reader: the items' probabilities
# are flexMIRT's formulas, labels kept; its refusals arrive as irteq errors.
prm_file <- function(lines) {
  f <- tempfile(fileext = "-prm.txt")
  writeLines(lines, f)
  f
}

test_that("a flexMIRT file gives the program's probabilities, labels kept", {
  f <- prm_file(c("1\tM01\t1\t1\t1\t2\t-1.386294\t0.5\t1.2", "1\tG02\t1\t1\t2\t3\t1.0\t-0.5\t1.4",
                  "0\tGroup1\t1\t1\t0.25\t1.44"))
  x <- read_calibration(f, "flexmirt")
  expect_null(x$covariance)
  expect_identical(x$groups, data.frame(group = 1L, label = "Group1", mean = 0.25, variance = 1.44))
  expect_identical(x$items$label, c("M01", "G02"))
  theta <- c(-2, 0, 1.5)
  c3 <- plogis(-1.386294)
  p1 <- c3 + (1 - c3) * plogis(1.2 * theta + 0.5)
  g1 <- plogis(1.4 * theta + 1.0)
  g2 <- plogis(1.4 * theta - 0.5)
  expect_equal(unname(probabilities(x$items, theta)), unname(cbind(1 - p1, p1, 1 - g1, g1 - g2, g2)),
               tolerance = 1e-12)
  S <- diag(seq_len(6) / 100)
  cov_file <- tempfile(fileext = "-cov.txt")
  write.table(S, cov_file, sep = "\t", row.names = FALSE, col.names = FALSE)
  y <- read_calibration(f, "flexmirt", covariance = cov_file)
  expect_equal(dim(y$covariance), c(6L, 6L))
  expect_equal(rownames(y$covariance)[1:3], c("1:a", "1:b", "1:c"))
})

test_that("a four-parameter item is refused naming file, line and label", {
  f <- prm_file("1\tQ4\t1\t1\t1\t2\t-1.1\t0.5\t1.2\t2.0")
  expect_error(read_calibration(f, "irtpro"), "line 1, item Q4: a four-parameter item", class = "irteq_error")
})
