# from_mirt() on what fitted mirt models return. mirt-fits.rds holds, for the fits of
# /work/shared/mirt/fits.rds (made by make_fits.R there with mirt 1.45.1), the itemtype, the rows
# of coef(fit, simplify = TRUE)$items and the rows and columns of vcov(fit) of the first three items
# (all ten of "mixed": six 3PL and four graded items).
fits <- readRDS(test_path("mirt-fits.rds"))

# The estimates vcov(fit) is over, read from the coefficients (mirt estimates logit(g)), and the
# coefficients with other estimates put in. Each item's estimates start with its slope a1.
estimates <- function(fit) {
  name <- sub("\\.[0-9]+$", "", rownames(fit$vcov))
  list(item = cumsum(name == "a1"), name = name)
}
with_estimates <- function(fit, theta) {
  at <- estimates(fit)
  coef <- fit$coef
  for (k in seq_along(theta)) {
    coef[at$item[k], at$name[k]] <- if (at$name[k] == "g") plogis(theta[k]) else theta[k]
  }
  coef
}
# A fit of saved pieces, with the readers that give them as mirt's accessors would: each group's items'
# parameters numbered on from the last group's, after its items' values and its latent mean and variance.
saved_fit <- function(...) {
  groups <- list(...)
  sizes <- vapply(groups, function(g) sum(!is.na(g$coef)) + 2L, 0L)
  offsets <- cumsum(sizes) - sizes
  names <- unlist(lapply(seq_along(groups), function(k) {
    given <- rownames(groups[[k]]$vcov)
    paste0(sub("\\.[0-9]+$", "", given), ".", as.integer(sub("^.*\\.", "", given)) + offsets[k])
  }))
  vcov <- matrix(0, length(names), length(names), dimnames = list(names, names))
  end <- 0L
  for (g in groups) {
    rows <- end + seq_len(nrow(g$vcov))
    vcov[rows, rows] <- g$vcov
    end <- end + nrow(g$vcov)
  }
  coefs <- lapply(groups, function(g) list(items = g$coef))
  read <- list(coef = function(fit) if (length(groups) == 1L) coefs[[1L]] else coefs,
               itemtype = function(fit) groups[[1L]]$itemtype, vcov = function(fit) vcov,
               constrain = function(fit) list(),
               parnum = function(fit) data.frame(group = rep(names(groups), sizes), parnum = seq_len(sum(sizes))))
  list(fit = structure(list(), class = if (length(groups) == 1L) "SingleGroupClass" else "MultipleGroupClass"),
       read = read)
}
from_saved <- function(saved, group = NULL) {
  irteq:::mirt_convert(irteq:::mirt_parts(saved$fit, group, NULL, saved$read), NULL, NULL)
}

# The covariance's parameters: all but D, an L3 item's c as logit(c) (the metric mirt estimates).
irteq_parameters <- function(coef, itemtype) {
  items <- from_mirt(coef, itemtype)
  unlist(lapply(seq_len(nrow(items)), function(i) {
    p <- items$parameters[[i]][-1L]
    if (items$type[i] == "L3" && p[3] > 0) p[3] <- qlogis(p[3])
    p
  }))
}

test_that("from_mirt() carries a fit's vcov into irteq's parameters with the exact Jacobian", {
  for (name in names(fits)) {
    fit <- fits[[name]]
    converted <- from_saved(saved_fit(fit))
    expect_identical(converted$items, from_mirt(fit$coef, fit$itemtype), label = name)
    at <- estimates(fit)
    theta <- vapply(seq_along(at$name), function(k) {
      v <- fit$coef[at$item[k], at$name[k]]
      if (at$name[k] == "g") qlogis(v) else v
    }, 0)
    h <- 1e-5
    jacobian <- vapply(seq_along(theta), function(k) {
      step <- replace(numeric(length(theta)), k, h)
      (irteq_parameters(with_estimates(fit, theta + step), fit$itemtype) -
         irteq_parameters(with_estimates(fit, theta - step), fit$itemtype)) / (2 * h)
    }, numeric(nrow(converted$covariance)))
    expected <- unname(jacobian %*% fit$vcov %*% t(jacobian))
    expect_equal(unname(converted$covariance), expected, tolerance = 1e-7, label = name, ignore_attr = TRUE)
    expect_identical(attr(converted$covariance, "guessing"), if ("g" %in% at$name) "logit", label = name)
  }
})

test_that("from_mirt() names the items by mirt's item names and refuses a vcov it cannot place", {
  mixed <- fits$mixed
  converted <- irteq:::mirt_convert(list(coef = mixed$coef, itemtype = mixed$itemtype, vcov = mixed$vcov, first = 1L),
                                    NULL, NULL)
  expect_identical(names(converted$items$parameters), rownames(mixed$coef))
  free_u <- mixed$vcov[c(1:3, 1), c(1:3, 1)]
  dimnames(free_u) <- rep(list(c("a1.1", "d.2", "g.3", "u.4")), 2)
  expect_error(irteq:::mirt_convert(list(coef = mixed$coef[1, , drop = FALSE], itemtype = "3PL", vcov = free_u,
                                         first = 1L), NULL, NULL),
               "vcov: the estimated parameter u.4 of item 1 has no place in irteq's item")
  expect_error(irteq:::mirt_convert(list(coef = mixed$coef, itemtype = mixed$itemtype, vcov = mixed$vcov, first = 40L),
                                    NULL, NULL), "vcov has no row for the items' parameters, numbered from 40")
})

test_that("from_mirt() takes one group of a multiple-group model, by name or number", {
  first <- fits$graded
  second <- first
  second$coef[, "a1"] <- second$coef[, "a1"] + 0.1
  second$vcov <- 2 * second$vcov
  saved <- saved_fit(A = first, B = second)
  expected <- from_saved(saved_fit(second))
  expect_identical(from_saved(saved, "B"), expected)
  expect_identical(from_saved(saved, 2), expected)
  expect_error(from_saved(saved), "group must name one group of the model \\(A, B\\), not NULL")
  saved$read$vcov <- function(fit) NULL
  expect_identical(from_saved(saved, "B"), expected$items)
})

test_that("from_mirt() takes a fitted model with its covariance, and a group of a multiple-group one", {
  skip_if_not_installed("mirt")
  set.seed(31)
  a <- matrix(c(1.2, 0.8, 1.0, 1.4, 0.9, 1.1))
  d <- matrix(c(0.5, NA, NA, -0.3, NA, NA, 0.8, -0.4, NA, 1.0, 0.1, -0.9, 0.2, -0.6, NA, 0.3, NA, NA), 6,
              byrow = TRUE)
  types <- c("2PL", "2PL", "graded", "graded", "graded", "2PL")
  responses <- mirt::simdata(a, d, 3000, itemtype = types)
  fit <- mirt::mirt(responses, 1, itemtype = c("2PL", "3PL", "graded", "gpcm", "nominal", "2PL"), SE = TRUE,
                    verbose = FALSE)
  converted <- from_mirt(fit)
  parts <- list(coef = mirt::coef(fit, simplify = TRUE)$items, itemtype = mirt::extract.mirt(fit, "itemtype"),
                vcov = mirt::vcov(fit), first = 1L)
  expect_identical(converted, irteq:::mirt_convert(parts, NULL, NULL))
  expect_identical(unname(converted$items$type), c("L3", "L3", "SL", "MU", "BN", "L3"))
  expect_true(isSymmetric(converted$covariance))

  groups <- rep(c("A", "B"), each = 1500)
  both <- mirt::multipleGroup(responses[, c(1, 3, 6)], 1, group = groups, itemtype = c("2PL", "graded", "2PL"),
                              SE = TRUE, verbose = FALSE)
  second <- from_mirt(both, group = "B")
  expect_identical(second$items, from_mirt(mirt::coef(both, simplify = TRUE)$B$items, c("2PL", "graded", "2PL")))
  se <- sqrt(diag(second$covariance))
  expect_true(all(se[c("1:a", "1:b", "2:a", "3:a")] > 0))
  expect_error(from_mirt(both), "group must name one group of the model \\(A, B\\)")
})
