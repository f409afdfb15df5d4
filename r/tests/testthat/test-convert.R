# The conversions of docs/models.md, and mirt's layouts: the converted items
# give the printed probabilities and the source formula's own.

abilities <- c(-2.5, -1, 0, 1, 2.2)
cumulative <- function(at_least) -diff(c(1, at_least, 0))  # P(category k or higher), k = 2 ... m
softmax <- function(z) exp(z) / sum(exp(z))
partial_credit <- function(terms) softmax(cumsum(c(0, terms)))  # one exponent term per step
# Abramowitz and Stegun 26.2.19, as irteq's normal ogive evaluates it.
as_phi <- function(x) {
  t <- min(abs(x), 10)
  s <- (1 + 0.0498673470 * t + 0.0211410061 * t^2 + 0.0032776263 * t^3 + 0.0000380036 * t^4 +
          0.0000488906 * t^5 + 0.0000053830 * t^6)^16
  q <- 1 - 1 / (2 * s)
  if (x >= 0) q else 1 - q
}

expect_formula <- function(items, own, tolerance = 1e-12, label = "") {
  for (theta in abilities) {
    p <- unname(probabilities(items, theta)[1L, ])
    expect_lt(max(abs(p - own(theta))), tolerance, label = sprintf("%s at theta %g", label, theta))
  }
}

docs_examples <- list(
  list(name = "3PL, slope/intercept", table = data.frame(a = 1.36, d = -0.68, g = 0.2), from = "logistic_intercept",
       D = 1, own = function(t) cumulative(0.2 + 0.8 * plogis(1.36 * t - 0.68)),
       printed = rbind(c(0.707947, 0.292053), c(0.269009, 0.730991))),
  list(name = "3PL, normal metric", table = data.frame(a = 0.8, b = 0.5, c = 0.2), from = "logistic_difficulty",
       D = 1.7, own = function(t) cumulative(0.2 + 0.8 * plogis(1.7 * 0.8 * (t - 0.5))),
       printed = rbind(c(0.707947, 0.292053), c(0.269009, 0.730991))),
  list(name = "graded, logistic", table = data.frame(a = 1.25, d1 = 1.5, d2 = 0.25, d3 = -1.0),
       from = "graded_intercept", D = 1, own = function(t) cumulative(plogis(1.25 * t + c(1.5, 0.25, -1.0))),
       printed = rbind(c(0.437823, 0.293235, 0.173592, 0.095349), c(0.060087, 0.122339, 0.255398, 0.562177))),
  list(name = "graded, normal ogive", table = data.frame(a = 0.8, d1 = 0.4, d2 = -0.6),
       from = "graded_normal_intercept", D = 1,
       own = function(t) cumulative(c(as_phi(0.8 * t + 0.4), as_phi(0.8 * t - 0.6))),
       exact = function(t) cumulative(pnorm(0.8 * t + c(0.4, -0.6))),
       printed = rbind(c(0.655422, 0.263822, 0.080757), c(0.115070, 0.305671, 0.579260))),
  list(name = "partial credit, steps", table = data.frame(a = 0.9, b1 = -1.0, b2 = 0.2, b3 = 1.1),
       from = "partial_credit_steps", D = 1, own = function(t) partial_credit(0.9 * (t - c(-1.0, 0.2, 1.1)))),
  list(name = "partial credit, Muraki", table = data.frame(a = 0.9, b = 0.1, d1 = 1.1, d2 = -0.1, d3 = -1.0),
       from = "partial_credit_muraki", D = 1, own = function(t) partial_credit(0.9 * (t - 0.1 + c(1.1, -0.1, -1.0)))),
  list(name = "partial credit, thresholds", table = data.frame(a = 0.9, b = 0.1, t1 = -1.1, t2 = 0.1, t3 = 1.0),
       from = "partial_credit_thresholds", D = 1,
       own = function(t) partial_credit(0.9 * (t - (0.1 + c(-1.1, 0.1, 1.0))))),
  list(name = "partial credit, slope/intercept", table = data.frame(a = 0.9, d0 = 0, d1 = 0.9, d2 = 0.72, d3 = -0.27),
       from = "partial_credit_intercept", D = 1, own = function(t) softmax(0:3 * 0.9 * t + c(0, 0.9, 0.72, -0.27))),
  list(name = "nominal, zero sums",
       table = data.frame(a1 = -1.0, a2 = 0.2, a3 = 0.8, c1 = 0.5, c2 = 0.3, c3 = -0.8), from = "nominal", D = 1,
       own = function(t) softmax(c(-1.0, 0.2, 0.8) * t + c(0.5, 0.3, -0.8)),
       printed = rbind(c(0.774206, 0.190917, 0.034877), c(0.186324, 0.506480, 0.307196))),
  list(name = "nominal, first category zero", table = data.frame(a2 = 1.2, a3 = 1.8, c2 = -0.2, c3 = -1.3),
       from = "nominal", D = 1, own = function(t) softmax(c(0, 1.2, 1.8) * t + c(0, -0.2, -1.3)),
       printed = rbind(c(0.774206, 0.190917, 0.034877), c(0.186324, 0.506480, 0.307196)))
)
partial_credit_printed <- rbind(c(0.418253, 0.418253, 0.142037, 0.021458), c(0.032428, 0.196181, 0.403040, 0.368351))

test_that("every conversion of docs/models.md gives the printed probabilities and its own formula's", {
  for (e in docs_examples) {
    converted <- convert_items(e$table, from = e$from, D = e$D)
    printed <- if (is.null(e$printed)) partial_credit_printed else e$printed
    expect_identical(unname(round(probabilities(converted, c(-1, 1)), 6)), printed, label = e$name)
    expect_formula(converted, e$own, label = e$name)
    if (!is.null(e$exact)) expect_formula(converted, e$exact, tolerance = 3e-7, label = paste(e$name, "(exact)"))
  }
})

test_that("a mixed table converts row by row, its covariance by the conversion's Jacobian", {
  table <- data.frame(item = c(4L, 7L, 9L), a = c(1.1, 0.8, 0.9), d = c(0.4, NA, NA), b = c(NA, NA, 0.3),
                      d1 = c(NA, 1.5, 1.1), d2 = c(NA, -0.5, -0.4))
  from <- c("logistic_intercept", "graded_intercept", "partial_credit_muraki")
  values <- c(1.1, 0.4, 0.8, 1.5, -0.5, 0.9, 0.3, 1.1, -0.4)  # row by row, in each form's order
  table_of <- function(v) {
    t <- table
    t$a <- v[c(1, 3, 6)]
    t$d[1] <- v[2]
    t$d1[2:3] <- v[c(4, 8)]
    t$d2[2:3] <- v[c(5, 9)]
    t$b[3] <- v[7]
    t
  }
  after_d <- function(v) {
    items <- convert_items(table_of(v), from)
    unlist(lapply(items$parameters, `[`, -1L))
  }
  jacobian <- sapply(seq_along(values), function(k) {
    h <- 1e-5 * max(1, abs(values[k]))
    up <- values
    down <- values
    up[k] <- up[k] + h
    down[k] <- down[k] - h
    (after_d(up) - after_d(down)) / (2 * h)
  })
  S <- crossprod(matrix(sin(seq_len(81)), 9)) / 100
  converted <- convert_items(table, from, covariance = S)
  expect_identical(converted$items$type, c("L3", "SL", "MU"))
  expect_identical(converted$items$item, c(4L, 7L, 9L))
  expect_lt(max(abs(converted$covariance - jacobian %*% S %*% t(jacobian))), 1e-8)
  expect_identical(rownames(converted$covariance)[c(1, 4, 7, 10)], c("4:a", "7:a", "9:a", "9:d(2)"))
})

test_that("convert_items() names the row and column it cannot use", {
  expect_error(convert_items(data.frame(a = 1, d1 = 0.5, d3 = -0.5), "graded_intercept"),
               "table: row 1 \\(graded_intercept\\) has d3 but not d2", class = "irteq_error_invalid_input")
  expect_error(convert_items(data.frame(d = 1), "logistic_intercept"), "row 1 \\(logistic_intercept\\) lacks a")
  expect_error(convert_items(data.frame(a = 1, d = 1), "3PL"), "unknown parameterisation '3PL'")
  expect_error(convert_items(data.frame(a = 0, d1 = 1, d2 = -1), "graded_intercept"),
               "table: item 1 \\(number 1, graded_intercept\\): the slope a is 0")
  expect_error(convert_items(data.frame(a = 1, d = 0), "logistic_intercept", covariance = diag(3)),
               "covariance: 3 rows")
  labelled <- data.frame(a = c(1, 0), d1 = 1, d2 = -1, label = c("R05001", "R05002"))
  expect_error(convert_items(labelled, "graded_intercept"),
               "table: item 2 \\(number 2, label R05002, graded_intercept\\): the slope a is 0")
  labelled$a[2] <- 1.2
  expect_identical(convert_items(labelled, "graded_intercept")$label, c("R05001", "R05002"))
})

# mirt's layouts, built by hand as coef(model, simplify = TRUE)$items gives them.
mirt_columns <- c("a1", "d", "g", "u", "d1", "d2", "d3", "ak0", "ak1", "ak2", "ak3", "d0")
mirt_row <- function(...) {
  row <- setNames(rep(NA_real_, length(mirt_columns)), mirt_columns)
  values <- c(...)
  row[names(values)] <- values
  row
}
mirt_items <- list(
  list("2PL", mirt_row(a1 = 1.3, d = -0.4, g = 0, u = 1), function(t) cumulative(plogis(1.3 * t - 0.4))),
  list("3PL", mirt_row(a1 = 0.7, d = 0.9, g = 0.25, u = 1),
       function(t) cumulative(0.25 + 0.75 * plogis(0.7 * t + 0.9))),
  list("Rasch", mirt_row(a1 = 1, d = 0.3, g = 0, u = 1), function(t) cumulative(plogis(t + 0.3))),
  list("graded", mirt_row(a1 = 1.25, d1 = 1.5, d2 = 0.25, d3 = -1), function(t) {
    cumulative(plogis(1.25 * t + c(1.5, 0.25, -1)))
  }),
  list("gpcm", mirt_row(a1 = 0.9, ak0 = 0, ak1 = 1, ak2 = 2, ak3 = 3, d0 = 0, d1 = 0.9, d2 = 0.72, d3 = -0.27),
       function(t) softmax(0.9 * 0:3 * t + c(0, 0.9, 0.72, -0.27))),
  list("Rasch", mirt_row(a1 = 1, ak0 = 0, ak1 = 1, ak2 = 2, d0 = 0, d1 = 0.5, d2 = -0.2),
       function(t) softmax(0:2 * t + c(0, 0.5, -0.2))),
  list("gpcm", mirt_row(a1 = 1.1, ak0 = 0, ak1 = 0.5, ak2 = 2, d0 = 0, d1 = 0.3, d2 = -0.4),
       function(t) softmax(1.1 * c(0, 0.5, 2) * t + c(0, 0.3, -0.4))),
  list("nominal", mirt_row(a1 = 0.8, ak0 = 0, ak1 = 1.4, ak2 = 0.6, ak3 = 3, d0 = 0, d1 = 0.2, d2 = 0.9, d3 = -0.5),
       function(t) softmax(0.8 * c(0, 1.4, 0.6, 3) * t + c(0, 0.2, 0.9, -0.5)))
)

test_that("from_mirt() reproduces mirt's formula for every layout and item type", {
  coefs <- do.call(rbind, lapply(mirt_items, `[[`, 2L))
  types <- vapply(mirt_items, `[[`, "", 1L)
  form <- from_mirt(coefs, itemtype = types)
  expect_identical(form$type, c("L3", "L3", "L3", "SL", "MU", "MU", "BN", "BN"))
  for (i in seq_along(mirt_items)) {
    expect_formula(form[i, ], mirt_items[[i]][[3L]], label = sprintf("%s, row %d", types[i], i))
  }
  rescored <- from_mirt(coefs[4, , drop = FALSE], "graded", scores = list(c(1, 2, 4, 8)))
  expect_identical(rescored$scores[[1]], c(1L, 2L, 4L, 8L))
})

test_that("from_mirt() refuses what irteq cannot hold, naming the item", {
  four <- rbind(mirt_row(a1 = 1, d = 0, g = 0.1, u = 0.95))
  expect_error(from_mirt(four, "4PL"), "x: item 1 \\(4PL\\): irteq takes the item types")
  expect_error(from_mirt(four, "3PL"), "x: item 1 \\(3PL\\) has the upper asymptote u = 0.95")
  two <- cbind(rbind(mirt_row(a1 = 1, d = 0)), a2 = 0.5)
  expect_error(from_mirt(two, "2PL"), "slopes on more than one dimension")
  irt <- cbind(a = 1, b = 0, g = 0, u = 1)
  expect_error(from_mirt(irt, "2PL"), "x has no column a1")
})

test_that("from_mirt() takes a fitted mirt model", {
  skip_if_not_installed("mirt")
  set.seed(18)
  a <- matrix(c(1.2, 0.8, 1.0, 1.4, 0.9))
  d <- matrix(c(0.5, NA, NA, -0.3, NA, NA, 0.8, -0.4, NA, 1.0, 0.1, -0.9, 0.2, -0.6, NA), 5, byrow = TRUE)
  responses <- mirt::simdata(a, d, 2000, itemtype = c("2PL", "2PL", "graded", "graded", "graded"))
  fit <- mirt::mirt(responses, 1, itemtype = c("2PL", "3PL", "graded", "gpcm", "nominal"), verbose = FALSE)
  form <- from_mirt(fit)
  theta <- matrix(abilities)
  column <- 0L
  p <- probabilities(form, abilities)
  for (i in seq_len(nrow(form))) {
    own <- mirt::probtrace(mirt::extract.item(fit, i), theta)
    columns <- column + seq_len(ncol(own))
    expect_lt(max(abs(p[, columns] - own)), 1e-12, label = sprintf("item %d", i))
    column <- column + ncol(own)
  }
})

# mirt's own coefficients of real fits (../shared/mirt): a fitted gpcm item's
# scoring values hold rounding (ak3 = 3.0000000000000004) and must still make
# a generalized partial credit item, which reproduces mirt's formula.
test_that("from_mirt() takes real fits' gpcm items as generalized partial credit items", {
  file <- file.path(cases_dir(), "..", "mirt", "fits.rds")
  skip_if(!nzchar(cases_dir()) || !file.exists(file), "no mirt fits")
  fits <- readRDS(file)
  expected <- list("2PL" = "L3", "3PL" = "L3", graded = "SL", gpcm = "MU", nominal = "BN", mixed = c("L3", "SL"))
  for (name in names(expected)) {
    form <- from_mirt(fits[[name]]$coef, itemtype = fits[[name]]$itemtype)
    expect_identical(unique(form$type), expected[[name]], label = name)
  }
  coefs <- fits$gpcm$coef
  form <- from_mirt(coefs, itemtype = "gpcm")
  p <- probabilities(form, abilities)
  for (i in seq_len(nrow(coefs))) {
    z <- outer(abilities, coefs[i, "a1"] * coefs[i, paste0("ak", 0:3)]) +
      rep(coefs[i, paste0("d", 0:3)], each = length(abilities))
    own <- exp(z) / rowSums(exp(z))
    expect_lt(max(abs(p[, 4 * (i - 1) + 1:4] - own)), 1e-12, label = sprintf("item %d", i))
  }
})
